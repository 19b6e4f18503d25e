#include "bytes.h"
#include "link/clock.h"
#include "modaldialog.h"
#include "params/parameterswindow.h"
#include "programfixture.h"
#include "records/tableschema.h"
#include "tests/hourlyrepetition.h"
#include "tests/testparametersdialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
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
        f.context().station.CurrentRange = 0;
        f.clock.advance(3600 * 1000);
        QCOMPARE(f.takeSent(), command);
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

    void cancelledSettingsStopTheRepetition()
    {
        HourlyFixture f;
        f.ui().NT2->trigger();
        WhenOpened(f.program->testDialog(), [&] { f.program->testDialog().BitBtn2->click(); });
        f.clock.advance(1000);
        QVERIFY(!f.program->hourly().timer().isActive());
        f.clock.advance(3LL * 3600 * 1000);
        QVERIFY(f.takeSent().isEmpty());

        f.ui().NT2->trigger(); // unchecked now: the timer runs again but nothing is due
        f.clock.advance(5000);
        QVERIFY(f.takeSent().isEmpty());
        QVERIFY(f.program->hourly().timer().isActive());
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
