#include "bytes.h"
#include "console/messagegrid.h"
#include "mainformfixture.h"
#include "ptypair.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

// The station's bytes travel through a pseudo-terminal into the running main window.
class TestReceiveIntoWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void stationTrafficReachesTheWindow()
    {
        Pty pty;
        MainFormFixture f(pty.slavePath());
        f.form->show();
        QCOMPARE(pty.readAtLeast(2), Bytes("D0 D0"));
        QSignalSpy selfTest(f.form.get(), &TMainForm::Test1);

        pty.write(Bytes("93 C9 EE 80 81 82 AD 83 84 85 86 87 EF CC E2 80 80 80 80 80 80 80 81 E3"));
        QTRY_COMPARE(selfTest.count(), 1);
        const MainFormControls &ui = f.ui();
        QCOMPARE(ui.Edit1->text(), QStringLiteral("МВ1"));
        QCOMPARE(ui.Label7->text(), QStringLiteral("ТЕЛВ занят"));
        QVERIFY(!ui.ITest->isEnabled());
        QCOMPARE(f.form->grid().lineCount(), 3);
        QCOMPARE(ui.StringGrid1->item(0, 2)->text(), QStringLiteral("Совпал ППНЛ"));
        QCOMPARE(ui.StringGrid1->item(1, 1)->text(), QStringLiteral("МВ1"));
        QCOMPARE(ui.StringGrid1->item(1, 2)->text(), QStringLiteral("Номер локомотива: 1234567"));
        QCOMPARE(ui.StringGrid1->item(2, 2)->text(), QStringLiteral("Коррекция ослабления: ??"));
        QCOMPARE(pty.readAtLeast(10), Bytes("F4 80 80 80 80 80 80 80 80 F5"));
        QCOMPARE(f.context.station.test.CollectingTest, 1);

        pty.write(Bytes("C0"));
        QTRY_COMPARE(ui.Label7->text(), QStringLiteral("ТЕЛВ свободен"));
    }
};

QTEST_MAIN(TestReceiveIntoWindow)
#include "tst_receiveintowindow.moc"
