#include "../records/resulttables.h"
#include "fakeclock.h"
#include "pdfpages.h"

#include "records/resultbrowser.h"
#include "reports/reportpainter.h"
#include "reports/reportrows.h"
#include "reports/resultreports.h"
#include "shared/resulttext.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using namespace ResultTables;

namespace {

constexpr qreal ToleranceMm = 1.0;

enum class Kind { SelfCompressed, SelfExpanded, RadioCompressed, RadioExpanded };

ResultReport Make(Kind kind, Clock &clock)
{
    switch (kind) {
    case Kind::SelfCompressed:
        return TFReport(clock);
    case Kind::SelfExpanded:
        return TFReportR1(clock);
    case Kind::RadioCompressed:
        return TFReport23(clock);
    case Kind::RadioExpanded:
        break;
    }
    return TFReportR2(clock);
}

bool IsRadio(Kind kind)
{
    return kind == Kind::RadioCompressed || kind == Kind::RadioExpanded;
}

QVariantList Row(Kind kind, int n)
{
    const QDate day = QDate(2026, 3, 1).addDays(n);
    return IsRadio(kind) ? RadioTestRow(day, QStringLiteral("00%1").arg(12340 + n))
                         : SelfTestRow(day, QString::number(500 + n));
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestResultReports : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    FakeClock m_clock { QDateTime(QDate(2026, 12, 10), QTime(10, 0)) };

    // A table of the kind's rows in a directory of its own, printed through the
    // browser's rows as the browser prints them.
    PreparedReport Prepare(Kind kind, const QList<QVariantList> &rows,
        std::optional<QList<int>> onlyRows = std::nullopt)
    {
        const QString directory = m_dir.filePath(QString::number(++m_tables));
        QDir().mkpath(directory);
        const BrowserDisplay &display
            = IsRadio(kind) ? RadioTestBrowserDisplay() : SelfTestBrowserDisplay();
        if (!Append(directory, display.schema, rows)) {
            return {};
        }
        ResultBrowser browser(directory, display);
        if (!browser.open()) {
            return {};
        }
        std::optional<QList<qint64>> ids;
        if (onlyRows) {
            ids.emplace();
            for (const int row : *onlyRows) {
                ids->append(browser.model().rowIdAt(row));
            }
        }
        const ResultReport report = Make(kind, m_clock);
        const auto source = browser.reportRows(ids);
        return PrepareReport(report.layout, *source, report.hooks);
    }

    QList<PdfPage> Pdf(const PreparedReport &report)
    {
        const QString path = m_dir.filePath(QStringLiteral("r%1.pdf").arg(++m_tables));
        QString error;
        if (!WriteReportPdf(report, path, &error)) {
            qWarning() << error;
            return {};
        }
        return ReadPdf(path);
    }

    int m_tables = 0;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    }

    void pageSetUpAndTitles_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<qreal>("stampXMm"); // on the paper
        QTest::newRow("TFReport") << Kind::SelfCompressed << "Результаты тестирования ТЕЛВ-2"
                                  << true << 224.0;
        QTest::newRow("TFReportR1")
            << Kind::SelfExpanded << "Результаты тестирования ТЕЛВ-2" << false << 144.0;
        QTest::newRow("TFReport23")
            << Kind::RadioCompressed << "Результаты тестирования локомотивных радиостанций " << true
            << 224.0;
        QTest::newRow("TFReportR2")
            << Kind::RadioExpanded << "Результаты тестирования локомотвных радиостанций " << false
            << 136.0;
    }

    void pageSetUpAndTitles()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, title);
        QFETCH(bool, landscape);
        QFETCH(qreal, stampXMm);
        const PreparedReport report = Prepare(kind, { Row(kind, 0), Row(kind, 1) });
        QVERIFY(report.isReady());
        QCOMPARE(report.layout().name, title);
        const QList<PdfPage> pages = Pdf(report);
        QCOMPARE(pages.size(), 1);
        const PdfPage &page = pages.first();
        QVERIFY(qAbs(page.sizeMm.width() - (landscape ? 297 : 210)) < ToleranceMm);
        QVERIFY2(page.layoutText.contains(title.trimmed()), qPrintable(page.layoutText));
        QVERIFY(page.layoutText.contains("Страница:1"));
        QVERIFY(page.layoutText.contains("Распечатано 10.12.26 в 10:00"));
        const QList<PdfWord> stamp = page.find("Распечатано");
        QCOMPARE(stamp.size(), 1);
        QVERIFY2(qAbs(stamp.first().boxMm.left() - stampXMm) < ToleranceMm,
            qPrintable(QString::number(stamp.first().boxMm.left())));
        // The title is centred on the printable width.
        const QList<PdfWord> first = page.find("Результаты");
        QVERIFY(!first.isEmpty());
        QVERIFY(first.first().boxMm.top() > stamp.first().boxMm.bottom());
    }

    // Captions and fields where the layouts put them, from the paper's left edge:
    // the left margin plus the position in the band.
    void itemsStandAtTheirPlaces_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("word");
        QTest::addColumn<qreal>("xMm");
        QTest::newRow("TFReport mode") << Kind::SelfCompressed << "Режим" << 10 + 31.0;
        QTest::newRow("TFReport mechanic") << Kind::SelfCompressed << "500" << 10 + 47.0;
        QTest::newRow("TFReport verdict") << Kind::SelfCompressed << "Норма" << 10 + 78.0;
        QTest::newRow("TFReport channels") << Kind::SelfCompressed << "ПРД-3" << 10 + 198.0;
        QTest::newRow("TFReport23 train") << Kind::RadioCompressed << "Поезд" << 10 + 88.0;
        QTest::newRow("TFReport23 loko") << Kind::RadioCompressed << "0012340" << 10 + 103.0;
        QTest::newRow("TFReport23 messages") << Kind::RadioCompressed << "10101" << 10 + 239.0;
        QTest::newRow("TFReportR1 mechanic") << Kind::SelfExpanded << "Механик:" << 15 + 18.0;
        QTest::newRow("TFReportR1 reserve") << Kind::SelfExpanded << "A0" << 15 + 102.0;
        QTest::newRow("TFReportR2 loko") << Kind::RadioExpanded << "Локомотив:" << 15 + 9.0;
        QTest::newRow("TFReportR2 verdict") << Kind::RadioExpanded << "Норма" << 15 + 150.0;
    }

    void itemsStandAtTheirPlaces()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, word);
        QFETCH(qreal, xMm);
        const QList<PdfPage> pages = Pdf(Prepare(kind, { Row(kind, 0) }));
        QCOMPARE(pages.size(), 1);
        const QList<PdfWord> found = pages.first().find(word);
        QVERIFY2(!found.isEmpty(), qPrintable(pages.first().layoutText));
        QVERIFY2(qAbs(found.first().boxMm.left() - xMm) < ToleranceMm,
            qPrintable(QString::number(found.first().boxMm.left())));
    }

    // Every page repeats the page header and the column header; the title is printed
    // once; each page is stamped with the time it was prepared.
    void longReportRepeatsItsHeaders()
    {
        QList<QVariantList> rows;
        for (int n = 0; n < 40; ++n) {
            rows.append(Row(Kind::RadioCompressed, n));
        }
        PreparedReport report = Prepare(Kind::RadioCompressed, rows);
        QVERIFY(report.isReady());
        const QList<PdfPage> pages = Pdf(report);
        QVERIFY(pages.size() >= 3);
        int printed = 0;
        for (int i = 0; i < pages.size(); ++i) {
            const QString &text = pages.at(i).layoutText;
            QVERIFY(text.contains(QStringLiteral("Страница:%1").arg(i + 1)));
            QVERIFY(text.contains("Распечатано 10.12.26 в 10:00"));
            QCOMPARE(pages.at(i).find("Поезд").size(), 1);
            QCOMPARE(text.contains("локомотивных"), i == 0);
            printed += int(pages.at(i).find("Тест").size());
        }
        QCOMPARE(printed, 40);
    }

    void reportOverNoRowsPrintsItsHeaders()
    {
        const QList<PdfPage> pages = Pdf(Prepare(Kind::SelfCompressed, {}));
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages.first().layoutText.contains("ТЕЛВ-2"));
        QCOMPARE(pages.first().find("Механик").size(), 1);
        QVERIFY(pages.first().layoutText.contains("Страница:1"));
    }

    void onlyChosenRowsInTableOrder()
    {
        QList<QVariantList> rows;
        for (int n = 0; n < 5; ++n) {
            rows.append(Row(Kind::SelfCompressed, n));
        }
        const QList<PdfPage> pages = Pdf(Prepare(Kind::SelfCompressed, rows, QList<int> { 4, 1 }));
        QCOMPARE(pages.size(), 1);
        const QList<PdfWord> second = pages.first().find("501");
        const QList<PdfWord> fifth = pages.first().find("504");
        QCOMPARE(second.size(), 1);
        QCOMPARE(fifth.size(), 1);
        QVERIFY(second.first().boxMm.top() < fifth.first().boxMm.top());
        QVERIFY(pages.first().find("500").isEmpty());
        QVERIFY(pages.first().find("503").isEmpty());
    }

    // The expanded reports decode each row's result into its block.
    void expandedResultBlocks_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("event");
        QTest::addColumn<QString>("code");
        QTest::addColumn<ResultLines>("lines");
        const QColor red(255, 0, 0);
        const QColor black(0, 0, 0);
        QTest::newRow("self-test no answer") << Kind::SelfExpanded << "Тест 1"
                                             << "?" << ResultLines { { "Нет ответа", red } };
        QTest::newRow("parameter record") << Kind::SelfExpanded << "Запись"
                                          << "" << ResultLines {};
        QTest::newRow("self-test code") << Kind::SelfExpanded << "Тест 1"
                                        << "9100223" << ShowSelfTestCode(u"9100223");
        // Thirteen lines: the last must not be cut off at the block's foot.
        QTest::newRow("self-test healthy") << Kind::SelfExpanded << "Тест 1"
                                           << "0000000" << ShowSelfTestCode(u"0000000");
        QTest::newRow("radio test 3")
            << Kind::RadioExpanded << "Тест 3"
            << "000000A"
            << ResultLines { { "Норма ДМВ", black }, { "Норма МВ", black }, { "Норма ГМВ", black },
                   { "Код теста 1 р/с: A", black } };
        // Recorded rows apply no band blocking: a fault prints as a fault.
        QTest::newRow("radio test 2 fault") << Kind::RadioExpanded << "Тест 2"
                                            << "0200000" << ShowRadioTestCode(2, u"0200000", u"");
    }

    void expandedResultBlocks()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, event);
        QFETCH(QString, code);
        QFETCH(ResultLines, lines);
        const QDate day(2026, 3, 1);
        const QVariantList row = IsRadio(kind) ? RadioTestRow(day, "0012345", event, code)
                                               : SelfTestRow(day, "100", event, code);
        const PreparedReport report = Prepare(kind, { row });
        QVERIFY(report.isReady());
        const ReportLines printed
            = report.detailValues(0).lines.value(QLatin1StringView(ResultLinesValueName));
        QCOMPARE(printed.size(), lines.size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QCOMPARE(printed.at(i).text, lines.at(i).text);
            QCOMPARE(printed.at(i).colour, lines.at(i).colour);
        }
        if (!lines.isEmpty()) {
            const QString text = Pdf(report).value(0).layoutText.simplified();
            QVERIFY2(text.contains(lines.last().text.simplified()), qPrintable(text));
        }
    }

    // A healthy self-test code gives the most lines; the last of them must lie within
    // the block, not be cut off at its foot.
    void expandedSelfTestBlockHoldsAllLines()
    {
        const PreparedReport report
            = Prepare(Kind::SelfExpanded, { SelfTestRow(QDate(2026, 3, 1), "100") });
        const QList<PdfPage> pages = Pdf(report);
        QCOMPARE(pages.size(), 1);
        const QList<PdfWord> tones = pages.first().find("тонов");
        QCOMPARE(tones.size(), 2); // the ГМВ and the МВ tone lines
        const ReportLayout &layout = report.layout();
        const ReportRichBlock &block = layout.detail.blocks.first();
        const qreal blockTop = layout.marginsMm.top() + layout.pageHeader->heightMm
            + layout.title->heightMm + block.yMm;
        QVERIFY2(tones.last().boxMm.bottom() <= blockTop + block.heightMm,
            qPrintable(QString::number(tones.last().boxMm.bottom())));
    }

    void recordedRowsDecodeWithTheirTestNumber_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<int>("test");
        QTest::addColumn<QString>("serviceWord");
        QTest::newRow("test 2") << "Тест 2" << 2 << "";
        QTest::newRow("test 3") << "Тест 3" << 3 << "";
        QTest::newRow("no test named") << "Проба 2" << 2 << "070000";
        QTest::newRow("no digit") << "Тест" << 0 << "";
        QTest::newRow("empty") << "" << 0 << "070000";
    }

    void recordedRowsDecodeWithTheirTestNumber()
    {
        QFETCH(QString, event);
        QFETCH(int, test);
        QFETCH(QString, serviceWord);
        QCOMPARE(RecordedTestNumber(event), test);
        QCOMPARE(RecordedServiceWord(event), serviceWord);
    }
};

QTEST_MAIN(TestResultReports)
#include "tst_resultreports.moc"
