#include "resulttables.h"

#include "records/browserreportrows.h"
#include "records/fieldvalues.h"
#include "records/resultbrowser.h"

#include <QElapsedTimer>
#include <QFont>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using namespace ResultTables;

namespace {

// Marks a radio test row in its Train field so a test can tell rows apart.
QVariantList Marked(QVariantList row, const QString &marker)
{
    row[Test23Schema().fieldIndex("Train")] = marker;
    return row;
}

QStringList Markers(PagedTableModel &model)
{
    QStringList markers;
    for (int row = 0; row < model.rowCount(); ++row) {
        markers.append(model.storedValue(row, "Train").toString());
    }
    return markers;
}

QStringList ReportedMarkers(ReportRowSource &rows)
{
    const int train = int(rows.fieldNames().indexOf("Train"));
    QStringList markers;
    QStringList values;
    while (rows.next(values)) {
        markers.append(values.at(train));
    }
    return markers;
}

// Stored form of a radio test row numbered i: a day per two rows, Train holding i.
QVariantList StoredRadioRow(int i)
{
    QVariantList row = RadioTestRow(QDate(2026, 1, 1).addDays(i / 2), "0000001");
    row[0] = QDate(2026, 1, 1).addDays(i / 2).toString(QLatin1StringView(StoredDateFormat));
    row[1] = QStringLiteral("12:00:00.000");
    row[Test23Schema().fieldIndex("Train")] = QString::number(i);
    return row;
}

const QDate March(int day)
{
    return QDate(2026, 3, day);
}

} // namespace

class TestResultBrowser : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    // Six rows over four days and four locomotive numbers, marked r0..r5.
    void makeSixRows(const QString &directory)
    {
        QVERIFY(Append(directory, Test23Schema(),
            {
                Marked(RadioTestRow(March(1), "0012345"), "r0"),
                Marked(RadioTestRow(March(2), "0012345"), "r1"),
                Marked(RadioTestRow(March(2), "1234567"), "r2"),
                Marked(RadioTestRow(March(3), "12345"), "r3"),
                Marked(RadioTestRow(March(4), "AB 12 C"), "r4"),
                Marked(RadioTestRow(March(4), "0012345"), "r5"),
            }));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        makeSixRows(m_dir.path());
    }

    void padsLocomotiveNumbers_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("padded");
        QTest::newRow("five digits") << "12345"
                                     << "0012345";
        QTest::newRow("empty") << ""
                               << "0000000";
        QTest::newRow("seven") << "7654321"
                               << "7654321";
        QTest::newRow("eight kept") << "12345678"
                                    << "12345678";
        QTest::newRow("letters and spaces as typed") << " a1"
                                                     << "0000 a1";
    }

    void padsLocomotiveNumbers()
    {
        QFETCH(QString, typed);
        QFETCH(QString, padded);
        QCOMPARE(PadLocomotiveNumber(typed), padded);
    }

    void criteriaChooseRows_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("typedLoko");
        QTest::addColumn<QStringList>("shown");
        const QDate none;
        QTest::newRow("no criteria")
            << none << none << QString() << QStringList { "r0", "r1", "r2", "r3", "r4", "r5" };
        QTest::newRow("one day") << March(2) << March(2) << QString() << QStringList { "r1", "r2" };
        QTest::newRow("both ends inclusive")
            << March(1) << March(3) << QString() << QStringList { "r0", "r1", "r2", "r3" };
        QTest::newRow("from after to") << March(3) << March(2) << QString() << QStringList {};
        QTest::newRow("five digits padded")
            << none << none << "12345" << QStringList { "r0", "r1", "r5" };
        QTest::newRow("seven digits") << none << none << "1234567" << QStringList { "r2" };
        QTest::newRow("letters and spaces exact")
            << none << none << "AB 12 C" << QStringList { "r4" };
        QTest::newRow("letter case counts") << none << none << "ab 12 c" << QStringList {};
        QTest::newRow("both criteria")
            << March(2) << March(4) << "12345" << QStringList { "r1", "r5" };
    }

    void criteriaChooseRows()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QString, typedLoko);
        QFETCH(QStringList, shown);
        BrowserCriteria criteria;
        if (from.isValid()) {
            criteria.days = BrowserCriteria::DayRange { from, to };
        }
        if (!typedLoko.isNull()) {
            criteria.locomotive = PadLocomotiveNumber(typedLoko);
        }
        ResultBrowser browser(m_dir.path(), RadioTestBrowserDisplay());
        QVERIFY(browser.setCriteria(criteria)); // kept while closed
        QVERIFY2(browser.open(), qPrintable(browser.errorText()));
        QCOMPARE(Markers(browser.model()), shown);
        // A report prints the same rows.
        const auto rows = browser.reportRows();
        QCOMPARE(ReportedMarkers(*rows), shown);
    }

    void missingTableFailsAndShowsNoRows()
    {
        QTemporaryDir empty;
        ResultBrowser browser(empty.path(), SelfTestBrowserDisplay());
        QVERIFY(!browser.open());
        QVERIFY(browser.errorText().contains("tests1.DB"));
        QCOMPARE(browser.model().rowCount(), 0);
        QVERIFY(!browser.reportRows());
    }

    // Rows beyond the first pages read right, in table order, also under a filter
    // that spreads the shown rows over pages of the table: jumps to the end, into
    // the middle between pages read before, and sweeps that drop pages from the cache
    // and read them again.
    void pagesThroughManyRows_data()
    {
        QTest::addColumn<bool>("firstHalfOnly");
        QTest::newRow("all rows") << false;
        QTest::newRow("a day range") << true;
    }

    void pagesThroughManyRows()
    {
        QFETCH(bool, firstHalfOnly);
        QTemporaryDir dir;
        constexpr int Rows = 6000;
        QVERIFY(Fill(dir.path(), Test23Schema(), Rows, StoredRadioRow));
        ResultBrowser browser(dir.path(), RadioTestBrowserDisplay());
        QVERIFY(browser.open());
        if (firstHalfOnly) {
            QVERIFY(browser.setCriteria(
                { BrowserCriteria::DayRange { QDate(2026, 1, 1), QDate(2026, 1, 1).addDays(1499) },
                    std::nullopt }));
        }
        PagedTableModel &model = browser.model();
        const int shown = firstHalfOnly ? Rows / 2 : Rows;
        QCOMPARE(model.rowCount(), shown);
        for (const int row : { shown - 1, 0, 255, 256, 257, 511, 512, shown / 2, shown / 2 - 300,
                 shown / 2 + 700, shown - 2, 1000 }) {
            QCOMPARE(model.storedValue(row, "Train").toString(), QString::number(row));
            QCOMPARE(model.data(model.index(row, 5)).toString(), QString::number(row));
        }
        QCOMPARE(model.data(model.index(shown, 5)), QVariant());
        for (int row = shown - 1; row >= 0; row -= 7) {
            QCOMPARE(model.storedValue(row, "Train").toString(), QString::number(row));
        }
        for (int row = 0; row < shown; row += 5) {
            QCOMPARE(model.storedValue(row, "Train").toString(), QString::number(row));
        }
    }

    // Rows deleted from another PC after the grid was read: a selection over them
    // is refused, not given with rows of a neighbour in their place.
    void selectionOverRowsDeletedMeanwhileIsRefused()
    {
        QTemporaryDir dir;
        QVERIFY(Fill(dir.path(), Test23Schema(), 1000, StoredRadioRow));
        ResultBrowser browser(dir.path(), RadioTestBrowserDisplay());
        QVERIFY(browser.open());
        QCOMPARE(browser.model().storedValue(0, "Train").toString(), "0");
        DatabaseTable office(dir.path(), Test23Schema());
        QVERIFY(office.open(DatabaseTable::OpenMode::ExistingOnly));
        QList<TableRow> rows;
        QVERIFY(office.readPage({}, 600, 100, &rows));
        QList<qint64> gone;
        for (const TableRow &row : std::as_const(rows)) {
            gone.append(row.rowid);
        }
        QVERIFY(office.deleteRows(gone));

        QList<qint64> ids;
        QVERIFY(!browser.rowIds({ { 0, 999 } }, &ids));
        QCOMPARE(browser.errorText(), "Строки таблицы изменились, обновите данные");
        QVERIFY(browser.refresh());
        QCOMPARE(browser.model().rowCount(), 900);
        ids.clear();
        QVERIFY(browser.rowIds({ { 0, 899 } }, &ids));
        QCOMPARE(ids.size(), 900);
    }

    // The grid's reads leave no lock behind: the recorder appends at once, and its
    // row shows after a refresh, not before.
    void recorderAppendsWhileBrowsing()
    {
        QTemporaryDir dir;
        QVERIFY(Fill(dir.path(), Test23Schema(), 600, StoredRadioRow));
        ResultBrowser browser(dir.path(), RadioTestBrowserDisplay());
        QVERIFY(browser.open());
        PagedTableModel &model = browser.model();
        QCOMPARE(model.storedValue(599, "Train").toString(), "599");
        QCOMPARE(model.storedValue(0, "Train").toString(), "0");

        DatabaseTable recorder(dir.path(), Test23Schema());
        QVERIFY(recorder.open(DatabaseTable::OpenMode::OpenOrCreate));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(recorder.append(Marked(RadioTestRow(March(9), "0000009"), "new")));
        QVERIFY(timer.elapsed() < DatabaseTable::BusyTimeoutMs);

        QCOMPARE(model.rowCount(), 600);
        QCOMPARE(model.storedValue(599, "Train").toString(), "599");
        QVERIFY(browser.refresh());
        QCOMPARE(model.rowCount(), 601);
        QCOMPARE(model.storedValue(600, "Train").toString(), "new");
    }

    void rowIdsOfRunsComeInTableOrderOnce()
    {
        QTemporaryDir dir;
        QVERIFY(Fill(dir.path(), Test23Schema(), 1000, StoredRadioRow));
        ResultBrowser browser(dir.path(), RadioTestBrowserDisplay());
        QVERIFY(browser.open());
        QList<qint64> ids;
        QVERIFY(
            browser.rowIds({ { 700, 999 }, { 3, 3 }, { 250, 260 }, { 255, 300 }, { 4, 4 } }, &ids));
        QList<qint64> expected;
        for (const int row : { 3, 4 }) {
            expected.append(browser.model().rowIdAt(row));
        }
        for (int row = 250; row <= 300; ++row) {
            expected.append(browser.model().rowIdAt(row));
        }
        for (int row = 700; row <= 999; ++row) {
            expected.append(browser.model().rowIdAt(row));
        }
        QCOMPARE(ids, expected);
    }

    // Selected rows print in table order, whatever the order they were chosen in,
    // and only while they pass the criteria.
    void reportOfChosenRows_data()
    {
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<bool>("oneDay");
        QTest::addColumn<QStringList>("printed");
        QTest::newRow("out of order, twice")
            << QList<int> { 5, 0, 3, 0 } << false << QStringList { "r0", "r3", "r5" };
        QTest::newRow("with a day range")
            << QList<int> { 4, 1, 2 } << true << QStringList { "r1", "r2" };
        QTest::newRow("none") << QList<int> {} << false << QStringList {};
    }

    void reportOfChosenRows()
    {
        QFETCH(QList<int>, chosen);
        QFETCH(bool, oneDay);
        QFETCH(QStringList, printed);
        ResultBrowser browser(m_dir.path(), RadioTestBrowserDisplay());
        QVERIFY(browser.open());
        QList<qint64> ids;
        for (const int row : chosen) {
            ids.append(browser.model().rowIdAt(row));
        }
        if (oneDay) {
            QVERIFY(browser.setCriteria(
                { BrowserCriteria::DayRange { March(2), March(2) }, std::nullopt }));
        }
        const auto rows = browser.reportRows(ids);
        QCOMPARE(ReportedMarkers(*rows), printed);
    }

    void reportOfManyChosenRows()
    {
        QTemporaryDir dir;
        QVERIFY(Fill(dir.path(), Test23Schema(), 1500, StoredRadioRow));
        ResultBrowser browser(dir.path(), RadioTestBrowserDisplay());
        QVERIFY(browser.open());
        QList<qint64> ids;
        QVERIFY(browser.rowIds({ { 100, 1399 } }, &ids));
        const auto rows = browser.reportRows(ids);
        QCOMPARE(rows->expectedRows(), 1300);
        const QStringList printed = ReportedMarkers(*rows);
        QCOMPARE(printed.size(), 1300);
        QCOMPARE(printed.first(), "100");
        QCOMPARE(printed.last(), "1399");
    }

    // Two results of the same millisecond are two rows; deleting one keeps the other.
    void deletesByRowIdentity()
    {
        QTemporaryDir dir;
        const QTime sameMoment(14, 3, 45, 120);
        QVERIFY(Append(dir.path(), Tests1Schema(),
            {
                SelfTestRow(March(1), "first", "Тест 1", "0000000", sameMoment),
                SelfTestRow(March(1), "second", "Тест 1", "0000000", sameMoment),
                SelfTestRow(March(1), "third"),
            }));
        ResultBrowser browser(dir.path(), SelfTestBrowserDisplay());
        QVERIFY(browser.open());
        QVERIFY(browser.deleteRows({ browser.model().rowIdAt(1), 987654 }));
        QCOMPARE(browser.model().rowCount(), 2);
        QCOMPARE(browser.model().storedValue(0, "Mehanik").toString(), "first");
        QCOMPARE(browser.model().storedValue(1, "Mehanik").toString(), "third");
    }

    void showsValuesAsTheBrowserFormats_data()
    {
        QTest::addColumn<bool>("radio");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("shown");
        const QLocale ru(QLocale::Russian, QLocale::Russia);
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("self-test date has dots")
            << false << us << "Date" << QVariant("2026-03-07") << "07.03.26";
        QTest::newRow("radio date, slash system")
            << true << us << "Date" << QVariant("2026-03-07") << "07/03/26";
        QTest::newRow("radio date, Russian system")
            << true << ru << "Date" << QVariant("2026-03-07") << "07.03.26";
        QTest::newRow("hours and minutes")
            << false << ru << "Time" << QVariant("09:05:07.008") << "09:05";
        QTest::newRow("afternoon") << true << us << "Time" << QVariant("21:45:00.000") << "21:45";
        QTest::newRow("empty date") << true << ru << "Date" << QVariant() << "";
        QTest::newRow("text as stored") << true << ru << "Loko" << QVariant(" 12 ") << " 12 ";
    }

    void showsValuesAsTheBrowserFormats()
    {
        QFETCH(bool, radio);
        QFETCH(QLocale, locale);
        QFETCH(QString, field);
        QFETCH(QVariant, stored);
        QFETCH(QString, shown);
        QLocale::setDefault(locale);
        const BrowserDisplay &display
            = radio ? RadioTestBrowserDisplay() : SelfTestBrowserDisplay();
        QCOMPARE(display.text(field, stored), shown);
        QLocale::setDefault(QLocale::c());
    }

    void gridColumnsOfTheRadioBrowser()
    {
        ResultBrowser browser(m_dir.path(), RadioTestBrowserDisplay());
        QVERIFY(browser.open());
        PagedTableModel &model = browser.model();
        QStringList titles;
        for (int c = 0; c < model.columnCount(); ++c) {
            titles.append(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
        }
        QCOMPARE(titles.size(), 19);
        // MesM before MesG, unlike the table.
        QCOMPARE(
            titles.mid(16), (QStringList { "Сообщения ДМВ", "Сообщения МВ", "Сообщения ГМВ" }));
        QCOMPARE(model.data(model.index(5, 17)).toString(), "10101"); // MesM
        // The deviation ДМВ title has a Latin e for its second letter.
        QCOMPARE(titles.at(9).at(1), QChar(u'e'));
        QCOMPARE(titles.at(9).mid(2), "виация ДМВ");
    }

    void boldResultWordInTheSelfTestGrid()
    {
        QTemporaryDir dir;
        QVERIFY(Append(dir.path(), Tests1Schema(), { SelfTestRow(March(1), "1") }));
        ResultBrowser browser(dir.path(), SelfTestBrowserDisplay());
        QVERIFY(browser.open());
        const QAbstractItemModel &model = browser.model();
        QCOMPARE(model.headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(), "Результат");
        QVERIFY(model.data(model.index(0, 4), Qt::FontRole).value<QFont>().bold());
        QVERIFY(!model.data(model.index(0, 3), Qt::FontRole).isValid());
    }
};

QTEST_GUILESS_MAIN(TestResultBrowser)
#include "tst_resultbrowser.moc"
