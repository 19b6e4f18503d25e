#include "bytes.h"
#include "console/gauges.h"
#include "console/messagegrid.h"
#include "link/ranges.h"
#include "modaldialog.h"
#include "programfixture.h"
#include "records/tableschema.h"
#include "tests/callrangedialog.h"
#include "tests/radiotestpanel.h"
#include "tests/selftestpanel.h"
#include "tests/servicecommands.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

class TestServiceCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void resetDuringASelfTestWait()
    {
        ProgramFixture f;
        f.ui().N14->trigger();
        f.takeSent();
        f.clock.advance(6000);
        QCOMPARE(f.ui().Panel4->Gauge2->position(), 6);
        f.ui().toolButtons.at(7)->trigger(); // "Сброс"
        QCOMPARE(f.takeSent(), Bytes("D0"));
        QCOMPARE(f.ui().Panel4->Gauge2->position(), 0);
        QVERIFY(f.ui().ITest->isEnabled());
        f.clock.advance(30000);
        QVERIFY(f.rows(Tests1Schema()).isEmpty());
        QVERIFY(f.ui().Panel4->LResult->text().isEmpty());
        QCOMPARE(f.context().station.test.CollectingTest, 0);
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
        ProgramFixture f;
        f.context().station.CurrentRange = 5; // the dialog opens at МВ3
        f.ui().LBadUM_MW->show();
        TFDiapDlg &dialog = f.program->callDialog();
        WhenOpened(dialog, [&] {
            QVERIFY(f.ui().LBadUM_MW->isHidden()); // hidden before the call
            dialog.ComboBox1->setCurrentIndex(range);
            dialog.BitBtn1->click();
        });
        (second ? f.ui().ICall2 : f.ui().ICall1)->trigger();
        QCOMPARE(f.ui().Edit1->text(), RangeName(range));
        f.clock.advance(300);
        f.receive(alarm);
        f.clock.advance(200);
        f.clock.advance(1000);
        QCOMPARE(f.takeSent(), sent);
        QVERIFY(f.ui().LBadUM_MW->isHidden() && f.ui().LBadUM_GMW->isHidden());
    }

    void cancelledCallKeepsTheNewRange()
    {
        ProgramFixture f;
        TFDiapDlg &dialog = f.program->callDialog();
        WhenOpened(dialog, [&] {
            dialog.ComboBox1->setCurrentIndex(5);
            dialog.BitBtn2->click();
        });
        f.ui().ICall1->trigger();
        f.clock.advance(1000);
        QVERIFY(f.takeSent().isEmpty());
        QCOMPARE(f.context().station.CurrentRange, 5);
        QCOMPARE(f.ui().Edit1->text(), QStringLiteral("МВ3"));
    }

    void technologicalModes()
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
        QVERIFY(f.rows(Tests1Schema()).isEmpty());

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

QTEST_MAIN(TestServiceCommands)
#include "tst_servicecommands.moc"
