#include "statisticsfixture.h"

#include "fakeclock.h"
#include "fakemessages.h"
#include "modaldialog.h"
#include "records/windows/reportoptionsdialog.h"
#include "records/windows/resultbrowsers.h"
#include "records/windows/selectdialog.h"
#include "stats/windows/chartfiles.h"
#include "stats/windows/exportdialog.h"
#include "stats/windows/locomotivehistorywindow.h"
#include "stats/windows/resulttools.h"
#include "stats/windows/statisticswindow.h"

#include <QChartView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace StatisticsFixture;

namespace {

QVariantList BlockRow(const QString &loko, const QString &first, const QDate &entered)
{
    QVariantList row { loko };
    for (int i = 1; i <= 8; ++i) {
        row.append(i == 1 ? first : QStringLiteral("%1").arg(i, 16, 10, QLatin1Char('0')));
    }
    return row + QVariantList { entered, QTime(8, 30), 2, entered.addDays(10), QTime(9, 45) };
}

} // namespace

class TestStatisticsWindows : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    FakeClock m_clock { QDateTime(QDate(2024, 4, 10), QTime(12, 0)) };
    FakeMessages m_messages;

private Q_SLOTS:
    void initTestCase()
    {
        using ResultTables::SelfTestRow;
        QVERIFY(ResultTables::Append(m_dir.path(), Test23Schema(), QuarterRows()));
        QVERIFY(ResultTables::Append(m_dir.path(), Tests1Schema(),
            { SelfTestRow(QDate(2024, 1, 2), "9316"),
                SelfTestRow(QDate(2024, 2, 3), "9316", "Тест 1", "8000000") }));
        QVERIFY(ResultTables::Append(m_dir.path(), BlockNumSchema(),
            { BlockRow(LocoA, "1111222233334444", QDate(2024, 1, 5)),
                BlockRow(LocoB, "5555666677778888", QDate(2024, 2, 10)) }));
    }

    void init() { m_messages = {}; }

    // Every chart is drawn, offscreen, into a picture that shows more than a blank page.
    void chartsRenderToPicturesAndPdf()
    {
        TFStats window(DatabaseLocation { m_dir.path(), {} }, m_clock, m_messages);
        window.setPeriod(QDate(2024, 1, 1), QDate(2024, 3, 31), PeriodStep::Month);
        window.count();
        QCOMPARE(window.summary()->text(),
            QStringLiteral("Тестов РВ: 8, брак: 6 (75.0%). Самоконтроль ТЕЛВ: 2, брак: 1 (50.0%)."));
        QTemporaryDir out;
        for (int index = 0; index < 5; ++index) {
            QChartView *view = window.chartView(index);
            view->resize(800, 500);
            const QString path = out.filePath(QStringLiteral("chart%1.png").arg(index));
            QString error;
            QVERIFY2(SaveChart(*view, path, &error), qPrintable(error));
            const QImage image(path);
            QCOMPARE(image.size(), QSize(ChartImageWidth, ChartImageHeight));
            QSet<QRgb> colours;
            int faultBarPixels = 0;
            for (int y = 0; y < image.height(); y += 2) {
                for (int x = 0; x < image.width(); x += 2) {
                    const QRgb pixel = image.pixel(x, y);
                    colours.insert(pixel);
                    faultBarPixels += pixel == qRgb(200, 40, 40);
                }
            }
            QVERIFY2(colours.size() > 20, qPrintable(view->objectName()));
            // Every chart of this quarter has faults to show as bars.
            QVERIFY2(faultBarPixels > 500, qPrintable(view->objectName()));
        }
        const QString pdf = out.filePath("bands.pdf");
        QString error;
        QVERIFY(SaveChart(*window.chartView(1), pdf, &error));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("%PDF"));
    }

    void saysWhatItCouldNotCount()
    {
        QTemporaryDir empty;
        TFStats window(DatabaseLocation { empty.path(), {} }, m_clock, m_messages);
        window.count();
        QVERIFY(window.summary()->text().startsWith(QStringLiteral("Тестов РВ: 0, брак: 0 (—).")));
        QVERIFY(window.summary()->text().contains(QStringLiteral("Не удается прочитать данные: ")));
        QVERIFY(window.chartView(0)->chart());

        window.setPeriod(QDate(2024, 3, 1), QDate(2024, 2, 1), PeriodStep::Week);
        window.count();
        QCOMPARE(window.summary()->text(),
            QStringLiteral("Начало периода позже его конца: ничего не посчитано."));

        window.setFileChooser([](QWidget *, const QString &, const QString &, const QString &) {
            return QStringLiteral("/no such folder/chart.png");
        });
        window.saveChart();
        QCOMPARE(m_messages.errors.size(), 1);
        QVERIFY(m_messages.errors.first().startsWith(QStringLiteral("Не удается записать файл")));
    }

    void showsALocomotivesHistory()
    {
        TFLocoHistory history(DatabaseLocation { m_dir.path(), {} }, m_clock);
        history.load(LocoA);
        QCOMPARE(history.windowTitle(), QStringLiteral("История локомотива 0000001"));
        QTableWidget *tests = history.testsGrid();
        QCOMPARE(tests->rowCount(), 5);
        QCOMPARE(tests->item(0, 0)->text(), QStringLiteral("31.12.2023 10:15"));
        QCOMPARE(tests->item(1, 4)->text(), QStringLiteral("Брак ДМВ; Девиация не измерялась ДМВ"));
        QCOMPARE(tests->item(1, 4)->foreground().color(), QColor(255, 0, 0));
        QCOMPARE(tests->item(2, 1)->text(), QStringLiteral("Тест 3"));
        QCOMPARE(tests->item(4, 4)->text(), QStringLiteral("Нераспознанный код результата: X10"));
        QTableWidget *blocks = history.blocksGrid();
        QCOMPARE(blocks->rowCount(), 1);
        QCOMPARE(blocks->item(0, 0)->text(), QStringLiteral("05.01.2024 08:30"));
        QCOMPARE(blocks->item(0, 1)->text(), QStringLiteral("15.01.2024 09:45"));
        QCOMPARE(blocks->item(0, 2)->text(), QStringLiteral("1111222233334444"));

        const QString html = LocomotiveHistoryHtml(history.history(), m_clock.now());
        QVERIFY(html.contains(QStringLiteral("История локомотива 0000001")));
        QVERIFY(html.contains(QStringLiteral("Брак ДМВ; Девиация не измерялась ДМВ")));

        QTemporaryDir noBlocks;
        QVERIFY(ResultTables::Append(noBlocks.path(), Test23Schema(), QuarterRows()));
        TFLocoHistory partial(DatabaseLocation { noBlocks.path(), {} }, m_clock);
        partial.load(LocoB);
        QCOMPARE(partial.testsGrid()->rowCount(), 3);
        QVERIFY(partial.note()->text().contains(QStringLiteral("Не удается прочитать данные: ")));
    }

    // From the radio test browser: the history of the current row's locomotive, and
    // the selected rows exported as chosen in the export dialog.
    void browsersOfferHistoryAndExport()
    {
        TFSelectDlg select(QStringLiteral("0000001"), nullptr, m_clock.now().date());
        TForm2 options;
        const BrowserServices services { DatabaseLocation { m_dir.path(), {} }, select, options, m_clock, m_messages };
        TFDB selfTests(services);
        QVERIFY(selfTests.findChild<QPushButton *>("bExport"));
        QVERIFY(!selfTests.findChild<QPushButton *>("bHistory"));

        TFDB23 radioTests(services);
        radioTests.show();
        QSignalSpy asked(&radioTests, &ResultBrowserWindow::historyRequested);
        radioTests.grid()->selectRow(5); // 2024-02-11, locomotive B
        radioTests.findChild<QPushButton *>("bHistory")->click();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().first().toString(), LocoB);

        ResultTools tools(DatabaseLocation { m_dir.path(), {} }, m_clock, m_messages, &radioTests);
        tools.serve(radioTests);
        QTemporaryDir out;
        const QString path = out.filePath("selected.csv");
        tools.setFileChooser(
            [&](QWidget *, const QString &, const QString &, const QString &) { return path; });
        TFExport &dialog = tools.exportOptions();
        WhenOpened(dialog, [&] {
            QVERIFY(dialog.findChild<QRadioButton *>("rbSelected")->isEnabled());
            dialog.findChild<QRadioButton *>("rbSelected")->setChecked(true);
            dialog.findChild<QRadioButton *>("rbCsv")->setChecked(true);
            dialog.accept();
        });
        radioTests.findChild<QPushButton *>("bExport")->click();
        QVERIFY(m_messages.errors.isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines
            = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines.at(1).startsWith(QStringLiteral("11.02.2024;")),
            qPrintable(lines.at(1)));
        QVERIFY(lines.at(1).contains(LocoB));
    }
};

QTEST_MAIN(TestStatisticsWindows)
#include "tst_statisticswindows.moc"
