// The direct commands on a recording screen with a scripted call range dialog.
#include "sequencefixture.h"

#include <QTest>

class TestServiceCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void resetDuringASelfTestWait()
    {
        SequenceFixture f;
        f.selfTest.ITest1Click();
        f.takeSent();
        f.clock.advance(6000);
        QCOMPARE(f.screen.elapsed, 6);
        f.service.IResetClick();
        QCOMPARE(f.takeSent(), Bytes("D0"));
        QCOMPARE(f.screen.elapsed, 0);
        QVERIFY(f.screen.menusOn);
        f.clock.advance(30000);
        QVERIFY(f.rows(Tests1Schema()).isEmpty());
        QVERIFY(!f.screen.calls.join(QLatin1Char(' ')).contains(QStringLiteral("verdict")));
        QCOMPARE(f.context.station.test.CollectingTest, 0);
        QVERIFY(!f.context.session.busy());
    }

    void calls_data()
    {
        QTest::addColumn<bool>("second");
        QTest::addColumn<int>("range");
        QTest::addColumn<QByteArray>("alarm");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("call 2 on ГМВ2") << true << 2 << QByteArray() << Bytes("92 D2");
        QTest::newRow("call 1 with an amplifier alarm")
            << false << 4 << Bytes("99") << Bytes("94 D1 94 D1");
        QTest::newRow("call 1 with a ГМВ amplifier alarm")
            << false << 0 << Bytes("9A") << Bytes("90 D1 90 D1");
        QTest::newRow("the repeat resends the bytes sent, not a range changed meanwhile")
            << false << 4 << Bytes("93 99") << Bytes("94 D1 94 D1");
        QTest::newRow("a synthesizer alarm does not repeat")
            << false << 0 << Bytes("98") << Bytes("90 D1");
    }

    void calls()
    {
        QFETCH(bool, second);
        QFETCH(int, range);
        QFETCH(QByteArray, alarm);
        QFETCH(QByteArray, sent);
        SequenceFixture f;
        f.context.station.CurrentRange = 5; // the dialog opens at МВ3
        f.screen.alarms.insert(StationView::Alarm::UmMv);
        bool alarmShownInDialog = true;
        f.dialogs.whileOpen = [&] { alarmShownInDialog = f.screen.amplifierAlarmShown(); };
        f.dialogs.callRanges = { range };
        f.service.ICall1Click(second ? 1 : 0);
        QVERIFY(!alarmShownInDialog); // hidden before the call
        QCOMPARE(f.dialogs.callRangesOffered, QList<int> { 5 });
        QCOMPARE(f.screen.range, range);
        f.clock.advance(300);
        f.receive(alarm);
        f.clock.advance(200);
        f.clock.advance(1000);
        QCOMPARE(f.takeSent(), sent);
        QVERIFY(!f.screen.amplifierAlarmShown());
    }

    void cancelledCallSendsNothing()
    {
        SequenceFixture f;
        f.service.ICall1Click(0);
        f.clock.advance(1000);
        QVERIFY(f.takeSent().isEmpty());
        QCOMPARE(f.screen.range, -1);
    }

    void technologicalModes()
    {
        SequenceFixture f;
        f.service.N8Click();
        QCOMPARE(f.takeSent(), Bytes("E2 80 80 80 80 80 80 80 84 E3"));
        f.receive(Bytes("EA 80 85 80 81 82 83 80 80 EB"));
        QCOMPARE(f.stationView.fields.value(StationView::Field::LiuLevel), QStringLiteral("123"));

        f.service.N9Click();
        QCOMPARE(f.takeSent(), Bytes("E2 80 80 80 80 80 80 80 85 E3"));
        QCOMPARE(f.screen.calls,
            (QStringList { "Технологический режим 1: измерение ЛИУ|ЛИУ",
                "Технологический режим 2: измерение девиации" }));
        QVERIFY(f.rows(Tests1Schema()).isEmpty());
    }
};

QTEST_MAIN(TestServiceCommands)
#include "tst_servicecommands.moc"
