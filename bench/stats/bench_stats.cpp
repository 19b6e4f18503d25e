// Statistics over a million recorded radio tests, for one year, and the export of
// 100,000 rows to a workbook; each beside the bare engine doing the least of the
// same work (counting the year's rows; writing the same cells with no reading or
// decoding).
#include "millionrowtable.h"
#include "records/browserreportrows.h"
#include "records/databasetable.h"
#include "records/windows/resultbrowsers.h"
#include "reports/resultreports.h"
#include "shared/resulttext.h"
#include "stats/browserexport.h"
#include "stats/statisticsqueries.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

namespace {

const auto MillionRowTable = MillionRows::Table;

// 2025: rows 366,000 to 730,999.
const StatisticsRequest Year { QDate(2025, 1, 1), QDate(2025, 12, 31), PeriodStep::Month,
    std::nullopt };

void BM_RadioTestStatisticsOfAYear(benchmark::State &state)
{
    DatabaseTable table(MillionRowTable(), Test23Schema());
    if (!table.open(DatabaseTable::OpenMode::ExistingOnly)) {
        state.SkipWithError("no table");
        return;
    }
    StatisticsRequest request = Year;
    request.step = state.range(0) ? PeriodStep::Week : PeriodStep::Month;
    RadioTestStatistics statistics;
    for (auto _ : state) {
        QString error;
        if (!ReadRadioTestStatistics(table, request, &statistics, &error)) {
            state.SkipWithError(qPrintable(error));
            break;
        }
    }
    state.counters["tests"] = double(statistics.tests);
    state.counters["periods"] = double(statistics.periods.size());
}
BENCHMARK(BM_RadioTestStatisticsOfAYear)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("weekly")
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// The bare engine: only counting the year's rows, the least any statistics must do.
void BM_BareCountOfAYear(benchmark::State &state)
{
    DatabaseTable table(MillionRowTable(), Test23Schema());
    if (!table.open(DatabaseTable::OpenMode::ExistingOnly)) {
        state.SkipWithError("no table");
        return;
    }
    for (auto _ : state) {
        QStringList columns;
        QList<QVariantList> rows;
        if (!table.select(QStringLiteral("SELECT count(*) FROM Test23 WHERE \"Date\" >= ? AND "
                                         "\"Date\" <= ?"),
                { QStringLiteral("2025-01-01"), QStringLiteral("2025-12-31") }, &columns, &rows)) {
            state.SkipWithError("failed");
            break;
        }
        state.counters["tests"] = rows.value(0).value(0).toDouble();
    }
}
BENCHMARK(BM_BareCountOfAYear)->Iterations(5)->Unit(benchmark::kMillisecond);

// 100 days: 100,000 rows.
const BrowserCriteria::DayRange HundredDays { QDate(2025, 3, 1), QDate(2025, 3, 1).addDays(99) };

void BM_ExportHundredThousandRowsToXlsx(benchmark::State &state)
{
    ResultBrowser browser(MillionRowTable(), RadioTestBrowserDisplay());
    BrowserCriteria criteria;
    criteria.days = HundredDays;
    if (!browser.open() || !browser.setCriteria(criteria)) {
        state.SkipWithError("no table");
        return;
    }
    const auto decode = [](const StoredFieldText &field) {
        const QString event = field(QStringLiteral("Event"));
        return ShowRadioTestCode(
            RecordedTestNumber(event), field(QStringLiteral("ResultCod")), RecordedServiceWord(event));
    };
    QTemporaryDir out;
    for (auto _ : state) {
        const auto rows = browser.reportRows();
        const auto writer = MakeExportWriter(ExportFormat::Xlsx);
        QString error;
        if (!ExportBrowserRows(*rows, RadioTestBrowserDisplay(), decode, *writer,
                out.filePath("rows.xlsx"), {}, &error)) {
            state.SkipWithError(qPrintable(error));
            break;
        }
    }
    state.counters["MB"] = double(QFileInfo(out.filePath("rows.xlsx")).size()) / 1e6;
}
BENCHMARK(BM_ExportHundredThousandRowsToXlsx)->Iterations(3)->Unit(benchmark::kMillisecond);

// The bare library: the same 100,000 rows of 20 cells (a date, a time, 18 texts)
// written from memory.
void BM_BareXlsxOfHundredThousandRows(benchmark::State &state)
{
    QTemporaryDir out;
    const QByteArray path = QFile::encodeName(out.filePath("bare.xlsx"));
    const QByteArray text = QStringLiteral("Норма ДМВ; Норма МВ").toUtf8();
    for (auto _ : state) {
        lxw_workbook_options options {};
        options.constant_memory = LXW_TRUE;
        lxw_workbook *book = workbook_new_opt(path.constData(), &options);
        lxw_worksheet *sheet = workbook_add_worksheet(book, nullptr);
        lxw_format *date = workbook_add_format(book);
        format_set_num_format(date, "dd.mm.yyyy");
        lxw_format *time = workbook_add_format(book);
        format_set_num_format(time, "hh:mm:ss");
        for (lxw_row_t row = 1; row <= 100000; ++row) {
            worksheet_write_number(sheet, row, 0, 45000 + row / 1000, date);
            worksheet_write_number(sheet, row, 1, (row % 1000) / 1000.0, time);
            for (lxw_col_t col = 2; col < 20; ++col) {
                worksheet_write_string(sheet, row, col, text.constData(), nullptr);
            }
        }
        if (workbook_close(book) != LXW_NO_ERROR) {
            state.SkipWithError("failed");
            break;
        }
    }
}
BENCHMARK(BM_BareXlsxOfHundredThousandRows)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    MillionRowTable();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
