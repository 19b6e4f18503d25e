// Time to prepare a compressed radio test report of 10,000 rows and to write it to
// PDF, with the process's peak resident memory. Run each benchmark in a process of
// its own (--benchmark_filter) to read its peak memory.
#include "reports/reportpainter.h"
#include "reports/reportprepare.h"
#include "reports/reportrows.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

double PeakResidentMb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}

const QStringList Fields { "Date", "Time", "Event", "Direction", "Mehanik", "Train", "Loko",
    "ResultWord", "ResultCod", "DeviacD", "DeviacM", "DeviacG", "Sens_mw_itog", "Sens_mw_osl",
    "Sens_gmw_itog", "Sens_gmw_osl", "MesD", "MesM", "MesG" };

QList<QStringList> RadioTestRows(int count)
{
    QList<QStringList> rows;
    rows.reserve(count);
    for (int n = 0; n < count; ++n) {
        const bool failed = n % 5 == 0;
        rows.append({ QStringLiteral("%1/12/26").arg(n % 28 + 1, 2, 10, QChar(u'0')),
            QStringLiteral("%1:%2")
                .arg(n / 60 % 24, 2, 10, QChar(u'0'))
                .arg(n % 60, 2, 10, QChar(u'0')),
            n % 2 ? QStringLiteral("Тест 2") : QStringLiteral("Тест 3"),
            n % 3 ? QStringLiteral("Чётное") : QStringLiteral("Нечётное"),
            QString::number(100 + n % 50), QString::number(1000 + n % 9000),
            QString::number(1000000 + n), failed ? QStringLiteral("Брак") : QStringLiteral("Норма"),
            failed ? QStringLiteral("0030000") : QStringLiteral("0000000"), "40", "41", "42",
            "Норма", "12", failed ? "Брак" : "Норма", "14", "11111", "11111", "11011" });
    }
    return rows;
}

ReportLayout RadioTestCompressed()
{
    const ReportFont italic = ReportFont().withItalic();
    const ReportFont small = ReportFont().sized(8);
    ReportLayout layout;
    layout.name = QStringLiteral("Результаты тестирования локомотивных радиостанций ");
    layout.orientation = QPageLayout::Landscape;
    layout.marginsMm = QMarginsF(10, 10, 25, 10);
    layout.pageHeader = ReportBand { 10.6, {},
        { ReportItem::pageNumber(2, "Страница:"), ReportItem::value(214, 2, "stamp") }, {} };
    layout.title = ReportBand { 10.6, {},
        { ReportItem::literal(0, 2, layout.name)
                .aligned(Qt::AlignHCenter)
                .withFont(ReportFont().withBold()) },
        {} };
    ReportBand header { 13.5, AllReportSides, {}, {} };
    header.items = {
        ReportItem::literal(2, 2, "Дата").withFont(italic),
        ReportItem::literal(16, 2, "Время").withFont(italic),
        ReportItem::literal(29, 2, "Режим").withFont(italic),
        ReportItem::literal(44, 2, "Направ- ление").withFont(italic).inBox(15),
        ReportItem::literal(64, 2, "Механик").withFont(italic),
        ReportItem::literal(88, 2, "Поезд").withFont(italic),
        ReportItem::literal(103, 2, "Локомо-тив").withFont(italic).inBox(16),
        ReportItem::literal(124, 2, "Итог").withFont(italic.withBold()),
        ReportItem::literal(139, 1, "   Код ошибки").withFont(italic).inBox(14),
        ReportItem::literal(159, 1, "Девиация Д   М   Г").withFont(italic).inBox(18),
        ReportItem::literal(180, 1, "Чувствительность  ").withFont(italic),
        ReportItem::literal(181, 8, "итог-М  осл-М").withFont(italic.sized(8)),
        ReportItem::literal(202, 8, " итог-Г осл-Г ").withFont(italic),
        ReportItem::literal(228, 0, "Прием сообщений").withFont(italic),
        ReportItem::literal(230, 5, "ДМВ").withFont(italic),
        ReportItem::literal(241, 5, "МВ").withFont(italic),
        ReportItem::literal(252, 5, "ГМВ").withFont(italic),
    };
    layout.columnHeader = header;
    layout.detail.heightMm = 10.6;
    layout.detail.frames = ReportSides(ReportSide::Left) | ReportSide::Right | ReportSide::Bottom;
    layout.detail.items = {
        ReportItem::field(2, 2, "Date"),
        ReportItem::field(17, 2, "Time"),
        ReportItem::field(30, 2, "Event"),
        ReportItem::field(44, 2, "Direction"),
        ReportItem::field(64, 2, "Mehanik"),
        ReportItem::field(88, 2, "Train"),
        ReportItem::field(103, 2, "Loko"),
        ReportItem::field(124, 2, "ResultWord").withFont(ReportFont().withBold()),
        ReportItem::field(139, 2, "ResultCod"),
        ReportItem::field(158, 2, "DeviacD"),
        ReportItem::field(165, 2, "DeviacM"),
        ReportItem::field(172, 2, "DeviacG"),
        ReportItem::field(181, 2, "Sens_mw_itog").withFont(small),
        ReportItem::field(195, 2, "Sens_mw_osl").withFont(small),
        ReportItem::field(203, 2, "Sens_gmw_itog"),
        ReportItem::field(219, 2, "Sens_gmw_osl"),
        ReportItem::field(228, 2, "MesD"),
        ReportItem::field(239, 2, "MesM"),
        ReportItem::field(251, 2, "MesG"),
    };
    return layout;
}

ReportHooks StampHooks()
{
    ReportHooks hooks;
    hooks.startOfPage = [](int, ReportValues &page) {
        page.texts.insert(QStringLiteral("stamp"), QStringLiteral("Распечатано 10/12/26 в 10:05"));
    };
    return hooks;
}

void BM_PrepareCompressedReport(benchmark::State &state)
{
    const QList<QStringList> rows = RadioTestRows(int(state.range(0)));
    const ReportLayout layout = RadioTestCompressed();
    int pages = 0;
    for (auto _ : state) {
        ReportRowList source(Fields, rows);
        const PreparedReport report = PrepareReport(layout, source, StampHooks());
        pages = report.pageCount();
        benchmark::DoNotOptimize(pages);
    }
    state.counters["pages"] = pages;
    state.counters["peak_rss_MB"] = PeakResidentMb();
}

void BM_CompressedReportToPdf(benchmark::State &state)
{
    const QList<QStringList> rows = RadioTestRows(int(state.range(0)));
    const ReportLayout layout = RadioTestCompressed();
    QTemporaryDir dir;
    const QString path = dir.filePath("report.pdf");
    int pages = 0;
    for (auto _ : state) {
        ReportRowList source(Fields, rows);
        const PreparedReport report = PrepareReport(layout, source, StampHooks());
        QString error;
        if (!WriteReportPdf(report, path, &error)) {
            state.SkipWithError(qPrintable(error));
            return;
        }
        pages = report.pageCount();
    }
    state.counters["pages"] = pages;
    state.counters["pdf_MB"] = QFileInfo(path).size() / 1048576.0;
    state.counters["peak_rss_MB"] = PeakResidentMb();
}

} // namespace

BENCHMARK(BM_PrepareCompressedReport)->Arg(10000)->Unit(benchmark::kMillisecond);
// Two sizes: peak memory that grows with the pages would show here.
BENCHMARK(BM_CompressedReportToPdf)
    ->Arg(2000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen"); // fonts need a GUI application, not a screen
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
