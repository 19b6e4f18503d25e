#include "bytes.h"
#include "console/messagegrid.h"
#include "link/clock.h"
#include "modaldialog.h"
#include "params/parameterswindow.h"
#include "programfixture.h"
#include "records/tableschema.h"
#include "tests/hourlyrepetition.h"
#include "tests/testparametersdialog.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

const QByteArray SelfTestCommand = Bytes("E2 80 80 80 80 80 80 80 81 E3");

struct HourlyFixture : ProgramFixture
{
    HourlyFixture()
    {
        context().station.params.ToolWord = QStringLiteral("00111111");
        // The hourly items are the access code holder's.
        context().station.params.Mehanik = StationParameters::AccessCode();
        form().SetCommandMenus(true);
    }

    // The first hourly test asks for its settings once.
    void answerSettings(const QString &loco, int range)
    {
        TFTestDlg &dialog = program->testDialog();
        WhenOpened(dialog, [&dialog, loco, range] {
            dialog.RadioGroup1->setCurrentIndex(TFTestDlg::LocoNumberKind);
            Q_EMIT dialog.RadioGroup1->activated(TFTestDlg::LocoNumberKind);
            dialog.Edit1->setText(loco);
            dialog.ComboBox1->setCurrentIndex(range);
            dialog.BitBtn1->click();
        });
    }

    // The station answers a radio test at once.
    void answerRadioTest(int test)
    {
        receive(Bytes("E2 80 80 80 80 80 80 80") + QByteArray(1, char(0x80 | test)) + Bytes("E3"));
        clock.advance(200);
    }

    // Checks the item of test 2 or 3, gives the hourly settings (locomotive 1 on МВ1)
    // and lets the first hourly test run to its result.
    void armHourly(int test)
    {
        (test == 2 ? ui().NT2 : ui().NT3)->trigger();
        answerSettings(QStringLiteral("1"), 3);
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
        QVERIFY(f.program->hourly().timer().isActive()); // polls on
    }

    void test3EveryHourAfterNT2ThenNT3()
    {
        HourlyFixture f;
        f.ui().NT2->trigger();
        f.ui().NT3->trigger();
        QVERIFY(!f.ui().NT2->isChecked() && f.ui().NT3->isChecked());

        f.answerSettings(QStringLiteral("12345"), 4);
        f.clock.advance(1000);
        const QByteArray command = radioTest("94", "80 80 81 82 83 84 85", 3);
        QCOMPARE(f.takeSent(), command);
        f.answerRadioTest(3);

        // Later ones reuse the settings, whatever the current numbers are now.
        f.context().station.numbers.LocoNumber = QStringLiteral("7777777");
        f.receive(Bytes("90")); // the station moved to ДМВ
        f.clock.advance(3600 * 1000);
        QCOMPARE(f.takeSent(), command);
        QCOMPARE(f.ui().Edit1->text(), QStringLiteral("МВ2")); // the range that was sent
        f.answerRadioTest(3);
        QCOMPARE(f.rows(Test23Schema()).size(), 2);
        QCOMPARE(f.rows(Test23Schema()).last().values.at(3).toString(), QStringLiteral("От ТЕЛВ"));
    }

    void busyStationIsRetriedEveryTwentySeconds()
    {
        HourlyFixture f;
        f.ui().NT2->trigger();
        f.receive(Bytes("C9")); // busy: the test menu is off
        f.answerSettings(QStringLiteral("1"), 3);
        f.clock.advance(1000);
        f.clock.advance(40000);
        QVERIFY(f.takeSent().isEmpty());
        f.receive(Bytes("C0"));
        f.clock.advance(20000);
        QCOMPARE(f.takeSent(), radioTest("93", "80 80 80 80 80 80 81", 2));
    }

    void cancelledSettingsUncheckTheItemAndSayWhy()
    {
        HourlyFixture f;
        f.ui().NT2->trigger();
        WhenOpened(f.program->testDialog(), [&] { f.program->testDialog().BitBtn2->click(); });
        f.clock.advance(1000);
        QVERIFY(!f.ui().NT2->isChecked() && !f.ui().NT3->isChecked());
        QCOMPARE(f.form().grid().lineCount(), 1);
        QCOMPARE(f.ui().StringGrid1->item(0, 2)->text(),
            QStringLiteral("Тест 2 раз в час отключен: параметры теста не заданы"));
        f.clock.advance(3LL * 3600 * 1000);
        QVERIFY(f.takeSent().isEmpty());

        // A self-test the service word asks for goes on being repeated.
        f.context().station.params.ToolWord = QStringLiteral("00211111");
        f.clock.advance(2000);
        QCOMPARE(f.takeSent(), SelfTestCommand);
    }

    // Whatever the operator sets up, runs or is shown in a dialog stays his: an hourly
    // test that falls due meanwhile waits, and runs 20 seconds after his test is over.
    void hourWithinTheOperatorsDialogWaits_data()
    {
        QTest::addColumn<int>("hourlyTest"); // 1: the self-test the service word asks for
        QTest::addColumn<int>("operatorTest");
        QTest::addColumn<QByteArray>("operatorCommand");
        QTest::newRow("hourly test 2 behind test 3")
            << 2 << 3
            << Bytes("94 EE 81 80 80 80 80 80 87 87 EF E2 80 80 80 80 80 80 80 83 E3");
        QTest::newRow("hourly self-test behind test 2")
            << 1 << 2
            << Bytes("94 EE 81 80 80 80 80 80 87 87 EF E2 80 80 80 80 80 80 80 82 E3");
        QTest::newRow("hourly test 3 behind radio test 1")
            << 3 << 1
            << Bytes("94 EE 81 80 80 80 80 80 87 87 EF E2 80 80 80 80 80 80 80 86 E3");
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
        TFTestDlg &dialog = f.program->testDialog();
        QByteArray sentInDialog = "not opened";
        WhenOpened(dialog, [&] {
            if (hourlyTest == 1) {
                f.context().station.params.ToolWord = QStringLiteral("00211111");
            }
            f.clock.advance(3600 * 1000 + 5000); // the hour comes while the operator types
            sentInDialog = f.takeSent();
            if (operatorTest != 1) {
                dialog.RadioGroup1->setCurrentIndex(TFTestDlg::LocoNumberKind);
                Q_EMIT dialog.RadioGroup1->activated(TFTestDlg::LocoNumberKind);
            }
            dialog.Edit1->setText(QStringLiteral("77"));
            dialog.ComboBox1->setCurrentIndex(4);
            dialog.BitBtn1->click();
        });
        (operatorTest == 1 ? f.ui().ITest1 : operatorTest == 2 ? f.ui().ITest2 : f.ui().ITest3)
            ->trigger();
        QCOMPARE(sentInDialog, QByteArray());
        QCOMPARE(f.takeSent(), operatorCommand);
        if (operatorTest == 1) {
            f.clock.advance(70000);
            QCOMPARE(f.takeSent(), Bytes("D0"));
        } else {
            f.clock.advance(5000);
            f.answerRadioTest(operatorTest);
            const QList<TableRow> rows = f.rows(Test23Schema());
            QCOMPARE(rows.size(), rows23 + 1);
            QCOMPARE(rows.last().values.at(2).toString(), QStringLiteral("Тест %1").arg(operatorTest));
            QCOMPARE(rows.last().values.at(6).toString(), QStringLiteral("0000077"));
        }
        QVERIFY(f.rows(Tests1Schema()).isEmpty());

        // The hourly test follows the operator's, with its own settings.
        f.clock.advance(20000);
        QCOMPARE(f.takeSent(),
            hourlyTest == 1 ? SelfTestCommand : radioTest("93", "80 80 80 80 80 80 81", hourlyTest));
    }

    // The check mark and the repetition never disagree: the parameters window does
    // not stop a repetition whose item is checked.
    void parametersWindowKeepsACheckedRepetition()
    {
        HourlyFixture f;
        f.armHourly(3);
        f.program->hourly().N2Click([&] {
            f.context().station.params.ToolWord = QStringLiteral("00111111");
        });
        QVERIFY(f.ui().NT3->isChecked());
        QVERIFY(f.program->hourly().timer().isActive());
        f.clock.advance(3600 * 1000);
        QCOMPARE(f.takeSent(), radioTest("93", "80 80 80 80 80 80 81", 3));
    }

    // The error box of a failed row runs the event loop: the wait must not end inside
    // it and once more after it, which would end the self-test that follows.
    void failedRowDuringAnHourlyTestEndsItsWaitOnce()
    {
        HourlyFixture f;
        f.context().station.params.ToolWord = QStringLiteral("00311111");
        {
            QFile foreign(f.databaseDirectory() + QStringLiteral("Test23.DB"));
            QVERIFY(foreign.open(QIODevice::WriteOnly));
            foreign.write("not a table\n");
        }
        f.ui().NT2->trigger();
        f.answerSettings(QStringLiteral("1"), 3);
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
        QCOMPARE(f.context().station.test.CollectingTest, 1);
        QVERIFY(!f.ui().ITest->isEnabled());
        f.receive(SelfTestCommand);
        f.clock.advance(200);
        QCOMPARE(f.messages.errors.size(), 1);
        QCOMPARE(f.rows(Tests1Schema()).size(), 1);
        QCOMPARE(f.rows(Tests1Schema()).first().values.at(4).toString(), QStringLiteral("Норма"));
    }

    void hourlySelfTestFollowsTheRadioTest()
    {
        HourlyFixture f;
        f.context().station.params.ToolWord = QStringLiteral("00311111");
        f.ui().NT2->trigger();
        f.answerSettings(QStringLiteral("1"), 3);
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
        f.context().station.params.ToolWord = QStringLiteral("00211111");
        f.clock.advance(2000);
        QCOMPARE(f.takeSent(), SelfTestCommand);
        f.clock.advance(25000);
        f.takeSent();
        f.clock.advance(3600 * 1000);
        QCOMPARE(f.takeSent(), SelfTestCommand);
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
        f.program->hourly().N2Click([&] {
            heldWhileOpen = !f.program->hourly().timer().isActive();
            f.context().station.params.ToolWord = toolWordAfter;
        });
        QVERIFY(heldWhileOpen);
        QCOMPARE(f.program->hourly().timer().isActive(), running);
    }
};

QTEST_MAIN(TestHourly)
#include "tst_hourly.moc"
