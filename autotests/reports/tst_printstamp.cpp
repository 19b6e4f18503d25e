#include "fakeclock.h"
#include "reports/printstamp.h"
#include "reports/reportrows.h"

#include <QLocale>
#include <QTest>

class TestPrintStamp : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void stampText_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("stamp");
        QTest::newRow("morning") << QDateTime(QDate(2026, 1, 2), QTime(9, 5, 59))
                                 << "Распечатано 02.01.26 в 09:05";
        QTest::newRow("evening") << QDateTime(QDate(2031, 12, 31), QTime(23, 59))
                                 << "Распечатано 31.12.31 в 23:59";
    }

    void stampText()
    {
        QFETCH(QDateTime, when);
        QFETCH(QString, stamp);
        QCOMPARE(PrintStampText(when), stamp);
    }

    // Each page carries the time at which it was prepared.
    void everyPageIsStampedAsItIsPrepared()
    {
        FakeClock clock(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
        ReportLayout layout;
        layout.pageHeader = StampedPageHeader(214);
        layout.detail.heightMm = 100;
        QList<QStringList> rows(5, QStringList { "x" });
        ReportRowList source({ "F" }, rows);
        ReportHooks hooks;
        hooks.startOfPage = StampEveryPage(clock);
        hooks.beforeDetail = [&](const ReportRow &, ReportValues &) { clock.advance(60'000); };
        const PreparedReport report = PrepareReport(layout, source, hooks);
        QVERIFY(report.isReady());
        QCOMPARE(report.pageCount(), 3);
        QCOMPARE(
            report.page(0).values.texts.value("stamp"), QString("Распечатано 10.12.26 в 10:00"));
        QCOMPARE(
            report.page(2).values.texts.value("stamp"), QString("Распечатано 10.12.26 в 10:04"));
    }
};

QTEST_GUILESS_MAIN(TestPrintStamp)
#include "tst_printstamp.moc"
