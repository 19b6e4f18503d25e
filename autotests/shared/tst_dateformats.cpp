#include "shared/dateformats.h"

#include <QLocale>
#include <QTest>

class TestDateFormats : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        SetProgramShortDateFormat({});
        QLocale::setDefault(QLocale::c());
    }

    void separatorsFollowTheLocale_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("dayMonthYear");
        QTest::addColumn<QString>("hoursMinutes");
        QTest::newRow("Russian") << QLocale(QLocale::Russian, QLocale::Russia) << "10.12.26"
                                 << "09:05";
        QTest::newRow("US slash") << QLocale(QLocale::English, QLocale::UnitedStates) << "10/12/26"
                                  << "09:05";
        QTest::newRow("Finnish dotted time")
            << QLocale(QLocale::Finnish, QLocale::Finland) << "10.12.26"
            << "09.05";
        // The C locale writes its short date with spaces: the slash stands in.
        QTest::newRow("C locale") << QLocale::c() << "10/12/26"
                                  << "09:05";
    }

    void separatorsFollowTheLocale()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, dayMonthYear);
        QFETCH(QString, hoursMinutes);
        QLocale::setDefault(locale);
        const QDateTime when(QDate(2026, 12, 10), QTime(9, 5));
        QCOMPARE(when.toString(WithSystemSeparators("dd/MM/yy")), dayMonthYear);
        QCOMPARE(when.toString(WithSystemSeparators("hh:mm")), hoursMinutes);
    }

    void quotedTextKeepsItsSlashes()
    {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        QCOMPARE(WithSystemSeparators("dd/MM' a/b:c'"), QString("dd.MM' a/b:c'"));
    }

    void shortDateSwitchesForTheRestOfTheRun()
    {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        const QDate day(2026, 3, 7);
        QCOMPARE(ShortDateText(day), QString("07.03.2026"));
        UseDayMonthYearShortDates();
        QCOMPARE(ShortDateText(day), QString("07.03.26"));
        QCOMPARE(ProgramShortDateFormat(), QString("dd.MM.yy"));
        UseDayMonthYearShortDates();
        QCOMPARE(ShortDateText(day), QString("07.03.26"));
    }
};

QTEST_GUILESS_MAIN(TestDateFormats)
#include "tst_dateformats.moc"
