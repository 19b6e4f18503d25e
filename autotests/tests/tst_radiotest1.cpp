#include "bytes.h"
#include "console/gauges.h"
#include "console/messagegrid.h"
#include "modaldialog.h"
#include "programfixture.h"
#include "records/tableschema.h"
#include "tests/radiotest1.h"
#include "tests/testparametersdialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

// Starts radio test 1 from the toolbar; the operator enters the number and range.
void start(ProgramFixture &f, const QString &loco, int range, bool confirm = true)
{
    TFTestDlg &dialog = f.program->testDialog();
    WhenOpened(dialog, [&dialog, loco, range, confirm] {
        QVERIFY(!dialog.RadioGroup1->isEnabled());
        QCOMPARE(dialog.numberKind(), TFTestDlg::LocoNumberKind);
        QCOMPARE(dialog.Edit1->maxLength(), 7);
        dialog.Edit1->setText(loco);
        dialog.ComboBox1->setCurrentIndex(range);
        (confirm ? dialog.BitBtn1 : dialog.BitBtn2)->click();
    });
    f.ui().toolButtons.at(0)->trigger();
}

} // namespace

class TestRadioTest1 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void completedTest()
    {
        ProgramFixture f;
        f.form().AddMessageLine(QStringLiteral("старая строка"), false);
        start(f, QStringLiteral("12345"), 4);
        QCOMPARE(
            f.takeSent(), Bytes("94 EE 81 80 80 81 82 83 84 85 EF E2 80 80 80 80 80 80 80 86 E3"));
        QCOMPARE(f.form().grid().lineCount(), 0);
        QCOMPARE(f.ui().Label25->text(), QStringLiteral("Тестирование РВ по тесту 1"));
        QCOMPARE(f.ui().Label27->text(), QStringLiteral("№ локомотива: 0012345"));
        QVERIFY(!f.ui().Gauge4->isHidden() && !f.ui().BitBtn5->isHidden());
        QVERIFY(!f.ui().ITest->isEnabled());

        f.form().AddMessageLine(QStringLiteral("Наличие КС"), true);
        f.receive(Bytes("AB")); // no confirmation: cleared, the test goes on
        f.clock.advance(35000);
        QCOMPARE(f.ui().Gauge4->position(), 35);
        QVERIFY(!f.context().station.test.NoConfirmation);
        QVERIFY(f.takeSent().isEmpty());

        f.clock.advance(35000);
        QCOMPARE(f.takeSent(), Bytes("D0"));
        QCOMPARE(f.ui().Label25->text(), QStringLiteral("Результаты тестирования"));
        QVERIFY(
            f.ui().Gauge4->isHidden() && f.ui().BitBtn5->isHidden() && f.ui().Label27->isHidden());
        QVERIFY(f.ui().ITest->isEnabled());
        QCOMPARE(f.form().grid().lineCount(), 0);
        QCOMPARE(f.context().station.test.CollectingTest, 0);
        QVERIFY(f.rows(Tests1Schema()).isEmpty());
        QVERIFY(f.rows(Test23Schema()).isEmpty());

        // The number-kind list is free again for the next test 2 or 3.
        TFTestDlg &dialog = f.program->testDialog();
        QVERIFY(dialog.RadioGroup1->isEnabled());
        QCOMPARE(dialog.numberKind(), TFTestDlg::LocoNumberKind);
    }

    void cancelAfterTenSeconds()
    {
        ProgramFixture f;
        start(f, QStringLiteral("0000001"), 5);
        f.takeSent();
        f.clock.advance(10000);
        f.ui().BitBtn5->click();
        QCOMPARE(f.takeSent(), Bytes("D0"));
        QCOMPARE(f.ui().Label25->text(), QStringLiteral("Результаты тестирования"));
        QVERIFY(!f.program->radioTest1().running());
        f.clock.advance(70000);
        QVERIFY(f.takeSent().isEmpty());
    }

    void cancelledDialogSendsNothing()
    {
        ProgramFixture f;
        start(f, QStringLiteral("7"), 2, false);
        QVERIFY(f.takeSent().isEmpty());
        QCOMPARE(f.context().station.CurrentRange, 2);
        QVERIFY(f.program->testDialog().RadioGroup1->isEnabled());
        QVERIFY(!f.program->radioTest1().running());
    }

    // A refused close (blocked band, "No") keeps the dialog open: the number kind
    // stays locked to the locomotive, or a train number would be dropped in silence.
    void numberKindStaysLockedUntilTheDialogCloses()
    {
        ProgramFixture f;
        f.context().station.params.ToolWord = QStringLiteral("02111111"); // МВ blocked
        f.messages.answers = { OperatorMessages::Answer::No, OperatorMessages::Answer::Yes };
        TFTestDlg &dialog = f.program->testDialog();
        bool lockedAfterRefusal = false;
        WhenOpened(dialog, [&] {
            dialog.Edit1->setText(QStringLiteral("5"));
            dialog.ComboBox1->setCurrentIndex(4);
            dialog.BitBtn1->click();
            lockedAfterRefusal = dialog.isVisible() && !dialog.RadioGroup1->isEnabled()
                && dialog.numberKind() == TFTestDlg::LocoNumberKind;
            dialog.BitBtn1->click();
        });
        f.ui().ITest1->trigger();
        QVERIFY(lockedAfterRefusal);
        QCOMPARE(f.messages.questions.size(), 2);
        QVERIFY(dialog.RadioGroup1->isEnabled());
        QCOMPARE(
            f.takeSent(), Bytes("94 EE 81 80 80 80 80 80 80 85 EF E2 80 80 80 80 80 80 80 86 E3"));
    }

    void waitAcrossMidnightLastsSeventySeconds()
    {
        ProgramFixture f;
        f.clock.setNow(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 30)));
        start(f, QStringLiteral("1"), 3);
        f.takeSent();
        f.clock.advance(69000);
        QVERIFY(f.takeSent().isEmpty());
        f.clock.advance(1000);
        QCOMPARE(f.takeSent(), Bytes("D0"));
    }
};

QTEST_MAIN(TestRadioTest1)
#include "tst_radiotest1.moc"
