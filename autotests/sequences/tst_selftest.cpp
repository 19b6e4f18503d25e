// The self-test on a recording screen: its results, rows, and the tests the station
// reports on its own.
#include "sequencefixture.h"

#include <QTest>

namespace {

const QByteArray SelfTestCommand = Bytes("E2 80 80 80 80 80 80 80 81 E3");

// Event, ResultWord, ResultCod of each row.
QStringList rowSummaries(const QList<QStringList> &rows)
{
    QStringList out;
    for (const QStringList &row : rows) {
        out.append(QStringList { row.at(2), row.at(4), row.at(5) }.join(QLatin1Char('/')));
    }
    return out;
}

} // namespace

class TestSelfTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void courses_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("answerAfterMs");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("rows");

        QTest::newRow("normal") << SelfTestCommand << 3000 << "verdict 0000000/Тест ТЕЛВ:НОРМА/0"
                                << "0000000" << QStringList { "Тест 1/Норма/0000000" };
        QTest::newRow("fault in the second cell")
            << Bytes("E2 80 81 80 80 80 80 80 81 E3") << 3000 << "verdict 0100000/Тест ТЕЛВ:БРАК/1"
            << "0100000" << QStringList { "Тест 1/Брак/0100000" };
        QTest::newRow("no answer") << QByteArray() << 0 << "verdict /Нет ответа /1"
                                   << "" << QStringList { "Тест 1/Брак/?" };
        QTest::newRow("short result frame is ignored")
            << Bytes("E2 80 80 80 81 E3") << 1000 << "verdict /Нет ответа /1"
            << "" << QStringList { "Тест 1/Брак/?" };
        QTest::newRow("result of another test is dropped")
            << Bytes("E2 80 80 80 80 80 80 80 82 E3") << 1000 << "verdict /Нет ответа /1"
            << "" << QStringList { "Тест 1/Брак/?" };
        QTest::newRow("two results in one pass give two rows")
            << SelfTestCommand + Bytes("E2 80 80 81 80 80 80 80 81 E3") << 19400
            << "verdict 0010000/Тест ТЕЛВ:БРАК/1"
            << "0010000" << QStringList { "Тест 1/Норма/0000000", "Тест 1/Брак/0010000" };
    }

    void courses()
    {
        QFETCH(QByteArray, answer);
        QFETCH(int, answerAfterMs);
        QFETCH(QString, verdict);
        QFETCH(QString, code);
        QFETCH(QStringList, rows);
        SequenceFixture f;
        f.context.station.params.Mehanik = QStringLiteral("12");

        f.selfTest.ITest1Click();
        QCOMPARE(f.takeSent(), SelfTestCommand);
        QVERIFY(!f.screen.menusOn);
        QCOMPARE(f.screen.calls, (QStringList { "menus off", "panel 1", "waiting 20" }));

        f.clock.advance(answerAfterMs);
        QCOMPARE(f.screen.elapsed, answerAfterMs / 1000);
        f.receive(answer);
        f.clock.advance(SelfTestSequence::PollMs);
        if (!code.isEmpty()) {
            // A result shows at once, without waiting out the 20 seconds.
            QCOMPARE(f.screen.calls.last(), QStringLiteral("ended"));
        }
        f.clock.advance(21000);

        QVERIFY(f.screen.calls.contains(verdict));
        QCOMPARE(f.screen.calls.last(), QStringLiteral("ended"));
        QCOMPARE(rowSummaries(f.rows(Tests1Schema())), rows);
        QCOMPARE(f.rows(Tests1Schema()).first().at(3), QStringLiteral("12"));
        QVERIFY(f.screen.menusOn);
        QCOMPARE(f.context.station.test.CollectingTest, 0);
        QVERIFY(f.takeSent().isEmpty());
        QCOMPARE(f.screen.lines,
            code.isEmpty() ? (ResultLines { { QStringLiteral("Нет ответа"), FaultColour } })
                           : ShowSelfTestCode(code));

        f.selfTest.BitBtn3Click(); // OK closes the panel
        QCOMPARE(f.screen.calls.last(), QStringLiteral("panel 0"));
    }

    void cancelAfterFiveSeconds()
    {
        SequenceFixture f;
        f.selfTest.ITest1Click();
        f.clock.advance(5000);
        f.selfTest.BitBtn3Click();
        QCOMPARE(f.screen.calls.mid(3), (QStringList { "panel 0", "menus on" }));
        QCOMPARE(f.context.station.test.CollectingTest, 0);
        QVERIFY(!f.selfTest.waiting());
        f.clock.advance(30000);
        QVERIFY(f.rows(Tests1Schema()).isEmpty());
    }

    void stationReportsASelfTestOnItsOwn()
    {
        SequenceFixture f;
        f.receive(SelfTestCommand);
        QCOMPARE(f.screen.calls,
            (QStringList { "panel 1", "waiting 20", "verdict 0000000/Тест ТЕЛВ:НОРМА/0", "menus on",
                "ended" }));
        QCOMPARE(rowSummaries(f.rows(Tests1Schema())), QStringList { "Тест 1/Норма/0000000" });
        QVERIFY(f.takeSent().isEmpty()); // nothing is sent for it
    }

    void waitAcrossMidnightLastsTwentySeconds()
    {
        SequenceFixture f;
        f.clock.setNow(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 50)));
        f.selfTest.ITest1Click();
        f.clock.advance(19000);
        QCOMPARE(f.screen.elapsed, 19);
        QVERIFY(f.rows(Tests1Schema()).isEmpty());
        f.clock.advance(1000);
        QCOMPARE(f.screen.calls.last(), QStringLiteral("ended"));
        QCOMPARE(f.rows(Tests1Schema()).size(), 1);
    }

    // The start stamp: the short date and the system's long time, seconds included,
    // without the time zone the locale's long form may carry.
    void startStamp_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("stamp");
        QTest::newRow("Russian") << "ru_RU"
                                 << "10.12.2026 10:00:00";
        QTest::newRow("American") << "en_US"
                                  << "12/10/26 10:00:00 AM";
    }

    void startStamp()
    {
        QFETCH(QString, locale);
        QFETCH(QString, stamp);
        QLocale::setDefault(QLocale(locale));
        SequenceFixture f;
        f.selfTest.ITest1Click();
        QLocale::setDefault(QLocale::c());
        QCOMPARE(f.screen.stamp, stamp);
    }

    void failedSendStillWaits()
    {
        SequenceFixture f;
        f.port.open = false;
        f.selfTest.ITest1Click();
        f.clock.advance(500);
        QCOMPARE(f.messages.errors, QStringList { QStringLiteral("Ошибка передачи!") });
        f.clock.advance(20000);
        QCOMPARE(
            f.screen.calls.mid(3), (QStringList { "menus on", "verdict /Нет ответа /1", "ended" }));
    }
};

QTEST_MAIN(TestSelfTest)
#include "tst_selftest.moc"
