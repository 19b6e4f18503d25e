// The hourly repetition on a recording screen with scripted dialogs.
#include "link/commands.h"
#include "sequencefixture.h"

#include <QFile>
#include <QTest>

#include <functional>

namespace {

const QByteArray SelfTestCommand = Bytes("E2 80 80 80 80 80 80 80 81 E3");

struct HourlyFixture : SequenceFixture
{
    // The hourly items are the access code holder's.
    HourlyFixture() { context.station.params.Mehanik = StationParameters::AccessCode(); }

    // The station answers a radio test at once.
    void answerRadioTest(int test)
    {
        receive(Bytes("E2 80 80 80 80 80 80 80") + QByteArray(1, char(0x80 | test)) + Bytes("E3"));
        clock.advance(200);
    }

    // Chooses test 2 or 3, gives the hourly settings (locomotive 1 on МВ1) and lets
    // the first hourly test run to its result.
    void armHourly(int test)
    {
        std::invoke(
            test == 2 ? &HourlyRepetition::NT2Click : &HourlyRepetition::NT3Click, hourly, true);
        willConfirm(false, QStringLiteral("0000"), QStringLiteral("0000001"), 3);
        clock.advance(1000);
        takeSent();
        answerRadioTest(test);
    }
};

QByteArray radioTest(const char *rangeByte, const char *loco7, int test)
{
    return Bytes(rangeByte) + Bytes("EE 81") + Bytes(loco7) + Bytes("EF E2 80 80 80 80 80 80 80")
        + QByteArray(1, char(0x80 | test)) + Bytes("E3");
}

} // namespace

class TestHourly : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void nothingIsDueWithoutASetting()
    {
        HourlyFixture f;
        f.clock.advance(2LL * 3600 * 1000);
        QVERIFY(f.takeSent().isEmpty());
        QVERIFY(f.hourly.timer().isActive()); // polls on
    }

    void test3EveryHourAfterNT2ThenNT3()
    {
        HourlyFixture f;
        f.hourly.NT2Click(true);
        f.hourly.NT3Click(true);
        QCOMPARE(f.context.session.hourlyTest(), 3);

        f.willConfirm(false, QStringLiteral("0000"), QStringLiteral("0012345"), 4);
        f.clock.advance(1000);
        QCOMPARE(f.dialogs.askedTests, QList<int> { 3 });
        const QByteArray command = radioTest("94", "80 80 81 82 83 84 85", 3);
        QCOMPARE(f.takeSent(), command);
        f.answerRadioTest(3);

        // Later ones reuse the settings, whatever the current numbers are now.
        f.context.station.numbers.LocoNumber = QStringLiteral("7777777");
        f.receive(Bytes("90")); // the station moved to ДМВ
        f.clock.advance(3600 * 1000);
        QCOMPARE(f.takeSent(), command);
        QCOMPARE(f.screen.range, 4); // the range that was sent
        QCOMPARE(f.context.station.CurrentRange, 4);
        f.answerRadioTest(3);
        QCOMPARE(f.dialogs.askedTests.size(), 1);
        const QList<QStringList> rows = f.rows(Test23Schema());
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.last().at(3), QStringLiteral("От ТЕЛВ"));
        QCOMPARE(rows.last().at(6), QStringLiteral("0012345"));
    }

    void busyStationIsRetriedEveryTwentySeconds()
    {
        HourlyFixture f;
        f.hourly.NT2Click(true);
        f.receive(Bytes("C9"));
        f.willConfirm(false, QStringLiteral("0000"), QStringLiteral("0000001"), 3);
        f.clock.advance(1000);
        f.clock.advance(40000);
        QVERIFY(f.takeSent().isEmpty());
        QVERIFY(f.dialogs.askedTests.isEmpty());
        f.receive(Bytes("C0"));
        f.clock.advance(20000);
        QCOMPARE(f.takeSent(), radioTest("93", "80 80 80 80 80 80 81", 2));
    }

    // Without settings there is nothing to repeat: the choice is dropped and the grid
    // says why, so that a checked item never stands for a repetition that stopped.
    void cancelledSettingsDropTheChoiceAndSayWhy()
    {
        HourlyFixture f;
        f.hourly.NT2Click(true);
        f.clock.advance(1000);
        QCOMPARE(f.dialogs.askedTests, QList<int> { 2 });
        QCOMPARE(f.context.session.hourlyTest(), 0);
        QCOMPARE(f.screen.gridLines,
            QStringList { QStringLiteral("Тест 2 раз в час отключен: параметры теста не заданы") });
        f.clock.advance(3LL * 3600 * 1000);
        QVERIFY(f.takeSent().isEmpty());
        QCOMPARE(f.dialogs.askedTests.size(), 1);

        // A self-test the service word asks for goes on being repeated.
        f.context.station.params.ToolWord = QStringLiteral("00211111");
        f.clock.advance(2000);
        QCOMPARE(f.takeSent(), SelfTestCommand);
    }

    // Whatever the operator sets up or runs stays his: an hourly test that falls due
    // while his dialog is open waits, touches nothing of his test, and runs 20 seconds
    // after his test is over.
    void hourWithinTheOperatorsDialogWaits_data()
    {
        QTest::addColumn<int>("hourlyTest"); // 1: the self-test the service word asks for
        QTest::addColumn<int>("operatorTest");
        QTest::addColumn<QByteArray>("operatorCommand");
        QTest::newRow("hourly test 2 behind test 3")
            << 2 << 3 << Bytes("94 EE 81 80 80 80 80 80 87 87 EF E2 80 80 80 80 80 80 80 83 E3");
        QTest::newRow("hourly self-test behind test 2")
            << 1 << 2 << Bytes("94 EE 81 80 80 80 80 80 87 87 EF E2 80 80 80 80 80 80 80 82 E3");
        QTest::newRow("hourly test 3 behind radio test 1")
            << 3 << 1 << Bytes("94 EE 81 80 80 80 80 80 87 87 EF E2 80 80 80 80 80 80 80 86 E3");
    }

    void hourWithinTheOperatorsDialogWaits()
    {
        QFETCH(int, hourlyTest);
        QFETCH(int, operatorTest);
        QFETCH(QByteArray, operatorCommand);
        HourlyFixture f;
        if (hourlyTest != 1) {
            f.armHourly(hourlyTest);
        }
        const int rows23 = f.rows(Test23Schema()).size();
        QByteArray sentInDialog = "not opened";
        f.dialogs.whileOpen = [&] {
            f.dialogs.whileOpen = nullptr;
            if (hourlyTest == 1) {
                f.context.station.params.ToolWord = QStringLiteral("00211111");
            }
            f.clock.advance(3600 * 1000 + 5000); // the hour comes while the operator types
            sentInDialog = f.takeSent();
        };
        f.willConfirm(false, QStringLiteral("0000"), QStringLiteral("0000077"), 4);
        if (operatorTest == 1) {
            f.radioTest1.ToolButton1Click();
        } else {
            std::invoke(operatorTest == 2 ? &RadioTest23::ITest2Click : &RadioTest23::ITest3Click,
                f.radioTest);
        }
        QCOMPARE(sentInDialog, QByteArray());
        QCOMPARE(f.takeSent(), operatorCommand);
        if (operatorTest == 1) {
            f.clock.advance(70000);
            QCOMPARE(f.takeSent(), Bytes("D0"));
        } else {
            f.clock.advance(5000);
            f.answerRadioTest(operatorTest);
            const QList<QStringList> rows = f.rows(Test23Schema());
            QCOMPARE(rows.size(), rows23 + 1);
            QCOMPARE(rows.last().at(2), QStringLiteral("Тест %1").arg(operatorTest));
            QCOMPARE(rows.last().at(6), QStringLiteral("0000077"));
        }
        QVERIFY(f.rows(Tests1Schema()).isEmpty());

        // The hourly test follows the operator's, with its own settings.
        f.clock.advance(20000);
        QCOMPARE(f.takeSent(),
            hourlyTest == 1 ? SelfTestCommand
                            : radioTest("93", "80 80 80 80 80 80 81", hourlyTest));
    }

    // The choice and the repetition never disagree: the parameters window does not
    // stop a chosen repetition.
    void parametersWindowKeepsAChosenRepetition()
    {
        HourlyFixture f;
        f.armHourly(3);
        f.hourly.N2Click([&] { f.context.station.params.ToolWord = QStringLiteral("00111111"); });
        QCOMPARE(f.context.session.hourlyTest(), 3);
        QVERIFY(f.hourly.timer().isActive());
        f.clock.advance(3600 * 1000);
        QCOMPARE(f.takeSent(), radioTest("93", "80 80 80 80 80 80 81", 3));
    }

    void parametersWindowHoldsTheTimer_data()
    {
        QTest::addColumn<QString>("toolWordAfter");
        QTest::addColumn<bool>("running");
        QTest::newRow("third character 1") << "00111111" << false;
        QTest::newRow("third character 3") << "00311111" << true;
    }

    void parametersWindowHoldsTheTimer()
    {
        QFETCH(QString, toolWordAfter);
        QFETCH(bool, running);
        HourlyFixture f;
        bool heldWhileOpen = true;
        f.hourly.N2Click([&] {
            heldWhileOpen = !f.hourly.timer().isActive();
            f.context.station.params.ToolWord = toolWordAfter;
        });
        QVERIFY(heldWhileOpen);
        QCOMPARE(f.hourly.timer().isActive(), running);
    }

    // The error box of a failed row runs the event loop: the wait must not end inside
    // it and once more after it, which would end the self-test that follows.
    void failedRowDuringAnHourlyTestEndsItsWaitOnce()
    {
        HourlyFixture f;
        f.context.station.params.ToolWord = QStringLiteral("00311111");
        {
            QFile foreign(f.directory() + QStringLiteral("Test23.DB"));
            QVERIFY(foreign.open(QIODevice::WriteOnly));
            foreign.write("not a table\n");
        }
        f.hourly.NT2Click(true);
        f.willConfirm(false, QStringLiteral("0000"), QStringLiteral("0000001"), 3);
        f.clock.advance(1000);
        QCOMPARE(f.takeSent(), radioTest("93", "80 80 80 80 80 80 81", 2));
        int boxes = 0;
        f.messages.whileShown = [&] {
            ++boxes;
            f.clock.advance(3000); // the operator reads the box
        };
        f.answerRadioTest(2);
        QCOMPARE(boxes, 1);
        f.messages.whileShown = nullptr;
        QCOMPARE(f.takeSent(), SelfTestCommand);
        QCOMPARE(f.context.station.test.CollectingTest, 1);
        QVERIFY(!f.screen.menusOn);
        f.receive(SelfTestCommand);
        f.clock.advance(200);
        QCOMPARE(f.messages.errors.size(), 1);
        const QList<QStringList> rows = f.rows(Tests1Schema());
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().at(4), QStringLiteral("Норма"));
    }

    void hourlySelfTestFollowsTheRadioTest()
    {
        HourlyFixture f;
        f.context.station.params.ToolWord = QStringLiteral("00311111");
        f.hourly.NT2Click(true);
        f.willConfirm(false, QStringLiteral("0000"), QStringLiteral("0000001"), 3);
        f.clock.advance(1000);
        QCOMPARE(f.takeSent(), radioTest("93", "80 80 80 80 80 80 81", 2));
        f.answerRadioTest(2);
        QCOMPARE(f.takeSent(), SelfTestCommand);
        f.receive(SelfTestCommand);
        f.clock.advance(200);
        QCOMPARE(f.rows(Tests1Schema()).size(), 1);
        QCOMPARE(f.rows(Test23Schema()).size(), 1);
    }

    void hourlySelfTestAlone()
    {
        HourlyFixture f;
        f.context.station.params.ToolWord = QStringLiteral("00211111");
        f.clock.advance(2000);
        QCOMPARE(f.takeSent(), SelfTestCommand);
        f.clock.advance(25000);
        f.takeSent();
        f.clock.advance(3600 * 1000);
        QCOMPARE(f.takeSent(), SelfTestCommand);
    }
};

QTEST_MAIN(TestHourly)
#include "tst_hourly.moc"
