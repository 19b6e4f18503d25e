// The whole program: menu items, toolbar buttons and dialogs reach the test sequences,
// and the main window shows what they tell it. The courses themselves are tested on
// recording screens.
#include "bytes.h"
#include "console/messagegrid.h"
#include "link/ranges.h"
#include "modaldialog.h"
#include "programfixture.h"
#include "records/tableschema.h"
#include "sequences/radiotest1.h"
#include "sequences/windows/callrangedialog.h"
#include "sequences/windows/radiotestpanel.h"
#include "sequences/windows/selftestpanel.h"
#include "sequences/windows/testparametersdialog.h"
#include "shared/testsession.h"
#include "widgets/gauges.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

// The operator confirms the test parameters dialog with a locomotive number and range.
void confirmLoco(TFTestDlg &dialog, const QString &loco, int range)
{
    WhenOpened(dialog, [&dialog, loco, range] {
        dialog.RadioGroup1->setCurrentIndex(TFTestDlg::LocoNumberKind);
        Q_EMIT dialog.RadioGroup1->activated(TFTestDlg::LocoNumberKind);
        dialog.Edit1->setText(loco);
        dialog.ComboBox1->setCurrentIndex(range);
        dialog.BitBtn1->click();
    });
}

} // namespace

class TestSequenceWiring : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void selfTestInItsPanel()
    {
        ProgramFixture f;
        SelfTestPanel &panel = *f.ui().Panel4;
        f.ui().N14->trigger();
        QCOMPARE(f.takeSent(), Bytes("E2 80 80 80 80 80 80 80 81 E3"));
        QVERIFY(!panel.isHidden() && f.ui().Panel6->isHidden());
        QVERIFY(!f.ui().ITest->isEnabled());
        f.receive(Bytes("E2 80 80 80 80 80 80 80 81 E3"));
        f.clock.advance(200);
        QCOMPARE(panel.LResult->text(), QStringLiteral("Тест ТЕЛВ:НОРМА"));
        QVERIFY(f.ui().ITest->isEnabled());
        QCOMPARE(f.rows(Tests1Schema()).size(), 1);
        panel.BitBtn3->click(); // OK closes the panel
        QVERIFY(panel.isHidden() && !f.ui().Panel6->isHidden());

        // A self-test the station reports on its own arrives by the queued signal.
        f.receive(Bytes("E2 80 80 80 80 80 80 80 81 E3"));
        QTRY_VERIFY(!panel.isHidden());
        QTRY_COMPARE(f.rows(Tests1Schema()).size(), 2);
    }

    void radioTestsInTheirPanel()
    {
        ProgramFixture f;
        f.context().station.params.ToolWord = QStringLiteral("00111111");
        RadioTestPanel &panel = *f.ui().Panel5;
        confirmLoco(f.program->testDialog(), QStringLiteral("1"), 3);
        f.ui().ITest2->trigger();
        QCOMPARE(f.takeSent().left(1), Bytes("93"));
        QVERIFY(!panel.isHidden() && f.ui().Panel6->isHidden());
        QCOMPARE(panel.Label23->text(), QStringLiteral("№ локомотива: 0000001"));
        QVERIFY(!f.ui().ITest->isEnabled());
        f.receive(Bytes("EA 80 83 81 82 83 84 85 86 EB"));
        QCOMPARE(f.ui().ELevd->text(), QStringLiteral("12"));
        panel.BitBtn4->click(); // "Отмена"
        QVERIFY(panel.isHidden() && !f.ui().Panel6->isHidden());
        QCOMPARE(f.ui().ELevd->text(), QString()); // the measurements are cleared
        QVERIFY(f.ui().ITest->isEnabled());

        // A test 3 the station reports on its own arrives by the queued signal.
        f.receive(Bytes("EE 80 80 80 81 82 83 84 85 EF E2 80 80 80 80 80 80 80 83 E3"));
        QTRY_VERIFY(!panel.isHidden());
        QCOMPARE(panel.Label19->text(), QStringLiteral("Тест 3"));
        QTRY_COMPARE(f.rows(Test23Schema()).size(), 1);
    }

    void radioTest1InTheResultsPanel()
    {
        ProgramFixture f;
        TFTestDlg &dialog = f.program->testDialog();
        bool lockedToLoco = false;
        WhenOpened(dialog, [&] {
            lockedToLoco = !dialog.RadioGroup1->isEnabled()
                && dialog.numberKind() == TFTestDlg::LocoNumberKind
                && dialog.Edit1->maxLength() == 7;
            dialog.Edit1->setText(QStringLiteral("12345"));
            dialog.ComboBox1->setCurrentIndex(4);
            dialog.BitBtn1->click();
        });
        f.ui().ToolButton1->trigger();
        QVERIFY(lockedToLoco);
        QCOMPARE(
            f.takeSent(), Bytes("94 EE 81 80 80 81 82 83 84 85 EF E2 80 80 80 80 80 80 80 86 E3"));
        QCOMPARE(f.ui().Label25->text(), QStringLiteral("Тестирование РВ по тесту 1"));
        QCOMPARE(f.ui().Label27->text(), QStringLiteral("№ локомотива: 0012345"));
        QVERIFY(!f.ui().Gauge4->isHidden() && !f.ui().BitBtn5->isHidden());
        QVERIFY(!f.ui().ITest->isEnabled());
        f.clock.advance(35000);
        QCOMPARE(f.ui().Gauge4->position(), 35);

        f.ui().BitBtn5->click();
        QCOMPARE(f.takeSent(), Bytes("D0"));
        QCOMPARE(f.ui().Label25->text(), QStringLiteral("Результаты тестирования"));
        QVERIFY(
            f.ui().Gauge4->isHidden() && f.ui().BitBtn5->isHidden() && f.ui().Label27->isHidden());
        QVERIFY(f.ui().ITest->isEnabled());
        QVERIFY(!f.program->radioTest1().running());
        // The number-kind list is free again for the next test 2 or 3.
        QVERIFY(dialog.RadioGroup1->isEnabled());
    }

    // NT2 and NT3 show the session's hourly choice, whoever changed it; the hourly
    // settings come from the test parameters dialog, and Edit1 shows the range sent.
    void hourlyItemsMirrorTheChoice()
    {
        ProgramFixture f;
        f.context().station.params.ToolWord = QStringLiteral("00111111");
        f.context().station.params.Mehanik = StationParameters::AccessCode();
        f.form().SetCommandMenus(true);
        f.ui().NT2->trigger();
        f.ui().NT3->trigger();
        QVERIFY(!f.ui().NT2->isChecked() && f.ui().NT3->isChecked());
        QCOMPARE(f.context().session.hourlyTest(), 3);

        confirmLoco(f.program->testDialog(), QStringLiteral("12345"), 4);
        f.clock.advance(1000);
        QCOMPARE(f.takeSent().left(1), Bytes("94"));
        f.receive(Bytes("E2 80 80 80 80 80 80 80 83 E3"));
        f.clock.advance(200);
        f.receive(Bytes("90")); // the station moved to ДМВ
        f.clock.advance(3600 * 1000);
        QCOMPARE(f.takeSent().left(1), Bytes("94"));
        QCOMPARE(f.ui().Edit1->text(), QStringLiteral("МВ2"));

        f.context().session.chooseHourlyTest(0);
        QVERIFY(!f.ui().NT2->isChecked() && !f.ui().NT3->isChecked());
    }

    void cancelledHourlySettingsUncheckTheItem()
    {
        ProgramFixture f;
        f.context().station.params.Mehanik = StationParameters::AccessCode();
        f.form().SetCommandMenus(true);
        f.ui().NT2->trigger();
        WhenOpened(f.program->testDialog(), [&] { f.program->testDialog().BitBtn2->click(); });
        f.clock.advance(1000);
        QVERIFY(!f.ui().NT2->isChecked() && !f.ui().NT3->isChecked());
        QCOMPARE(f.form().grid().lineCount(), 1);
        QCOMPARE(f.ui().StringGrid1->item(0, 2)->text(),
            QStringLiteral("Тест 2 раз в час отключен: параметры теста не заданы"));
    }

    // The call dialog's list shows the range at once; an amplifier alarm label shown
    // by the station's code repeats the call.
    void callThroughTheWindow()
    {
        ProgramFixture f;
        f.context().station.CurrentRange = 5;
        f.ui().LBadUM_MW->show();
        TFDiapDlg &dialog = f.program->callDialog();
        WhenOpened(dialog, [&] {
            QVERIFY(f.ui().LBadUM_MW->isHidden());
            QCOMPARE(dialog.ComboBox1->currentIndex(), 5);
            dialog.ComboBox1->setCurrentIndex(4);
            dialog.BitBtn1->click();
        });
        f.ui().ToolButton6->trigger();
        QCOMPARE(f.ui().Edit1->text(), RangeName(4));
        f.clock.advance(300);
        f.receive(Bytes("93 99"));
        f.clock.advance(1200);
        QCOMPARE(f.takeSent(), Bytes("94 D1 94 D1"));
        QVERIFY(f.ui().LBadUM_MW->isHidden() && f.ui().LBadUM_GMW->isHidden());

        WhenOpened(dialog, [&] {
            dialog.ComboBox1->setCurrentIndex(5);
            dialog.BitBtn2->click();
        });
        f.ui().ICall2->trigger();
        f.clock.advance(1000);
        QVERIFY(f.takeSent().isEmpty());
        QCOMPARE(f.context().station.CurrentRange, 5); // a cancelled call keeps the new range
        QCOMPARE(f.ui().Edit1->text(), QStringLiteral("МВ3"));
    }

    void resetClearsTheGauges()
    {
        ProgramFixture f;
        f.ui().N14->trigger();
        f.takeSent();
        f.clock.advance(6000);
        QCOMPARE(f.ui().Panel4->Gauge2->position(), 6);
        f.ui().ToolButton8->trigger(); // "Сброс"
        QCOMPARE(f.takeSent(), Bytes("D0"));
        QCOMPARE(f.ui().Panel4->Gauge2->position(), 0);
        QVERIFY(f.ui().ITest->isEnabled());
        f.clock.advance(30000);
        QVERIFY(f.ui().Panel4->LResult->text().isEmpty());
    }

    void technologicalModesInTheResultsPanel()
    {
        ProgramFixture f;
        f.form().showPanel(TestHost::Panel::SelfTest);
        f.ui().Label25->setText(QStringLiteral("Технологический режим 2: измерение девиации"));
        f.ui().N8->trigger();
        QCOMPARE(f.takeSent(), Bytes("E2 80 80 80 80 80 80 80 84 E3"));
        QVERIFY(!f.ui().Panel4->isHidden()); // the panels stay as they are
        QCOMPARE(f.ui().Label25->text(), QStringLiteral("Технологический режим 1: измерение ЛИУ"));
        QVERIFY(!f.ui().ELIU->isHidden() && !f.ui().LLIU->isHidden());
        f.receive(Bytes("EA 80 85 80 81 82 83 80 80 EB"));
        QCOMPARE(f.ui().ELIU->text(), QStringLiteral("123"));

        f.form().showPanel(TestHost::Panel::Results);
        f.ui().N9->trigger();
        QCOMPARE(f.takeSent(), Bytes("E2 80 80 80 80 80 80 80 85 E3"));
        QCOMPARE(
            f.ui().Label25->text(), QStringLiteral("Технологический режим 2: измерение девиации"));
        QVERIFY(f.ui().ELIU->isHidden() && f.ui().LLIU->isHidden());

        f.receive(Bytes("C0")); // free again: the panel returns to rest
        QCOMPARE(f.ui().Label25->text(), QStringLiteral("Результаты тестирования"));
    }

    void clearingButtons()
    {
        ProgramFixture f;
        f.form().AddMessageLine(QStringLiteral("Наличие КС"), true);
        f.receive(Bytes("EA 80 83 81 82 83 84 85 86 EB"));
        f.ui().BitBtn2->click();
        QCOMPARE(f.ui().ELevm->text(), QString());
        QCOMPARE(f.form().grid().lineCount(), 1);
        f.ui().BitBtn1->click();
        QCOMPARE(f.form().grid().lineCount(), 0);
    }
};

QTEST_MAIN(TestSequenceWiring)
#include "tst_sequencewiring.moc"
