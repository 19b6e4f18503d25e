#include "bytes.h"
#include "link/commands.h"
#include "modaldialog.h"
#include "programfixture.h"
#include "sequences/windows/technologicalmodewindow.h"
#include "sequences/windows/testparametersdialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestTestDialogs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void trainNumberIsPadded()
    {
        ProgramFixture f;
        TFTestDlg &dialog = f.program->testDialog();
        f.context().station.numbers.LocoNumber = QStringLiteral("555");
        const int result = RunModal(dialog, [&] {
            QCOMPARE(dialog.Edit1->text(), QStringLiteral("1234"));
            QCOMPARE(dialog.Edit1->maxLength(), 4);
            dialog.Edit1->setText(QStringLiteral("42"));
            dialog.ComboBox1->setCurrentIndex(3); // МВ1, not blocked
            dialog.BitBtn1->click();
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(f.context().station.numbers.TrainNumber, QStringLiteral("0042"));
        QCOMPARE(f.context().station.numbers.LocoNumber, QStringLiteral("0000555"));
        QCOMPARE(f.context().station.CurrentRange, 3);
        QCOMPARE(f.ui().Edit1->text(), QStringLiteral("МВ1")); // through ComboChange
    }

    void digitFilter()
    {
        ProgramFixture f;
        TFTestDlg &dialog = f.program->testDialog();
        dialog.Edit1->setText(QStringLiteral("12a"));
        QCOMPARE(dialog.Edit1->text(), QStringLiteral("120"));
        dialog.Edit1->setText(QStringLiteral("x٣"));
        QCOMPARE(dialog.Edit1->text(), QStringLiteral("00"));
    }

    void switchingTheNumberKind()
    {
        ProgramFixture f;
        TFTestDlg &dialog = f.program->testDialog();
        RunModal(dialog, [&] {
            dialog.RadioGroup1->setCurrentIndex(TFTestDlg::LocoNumberKind);
            Q_EMIT dialog.RadioGroup1->activated(TFTestDlg::LocoNumberKind);
            QCOMPARE(dialog.Edit1->text(), QStringLiteral("1234567"));
            QCOMPARE(dialog.Edit1->maxLength(), 7);
            dialog.RadioGroup1->setCurrentIndex(TFTestDlg::TrainNumberKind);
            Q_EMIT dialog.RadioGroup1->activated(TFTestDlg::TrainNumberKind);
            QCOMPARE(dialog.Edit1->text(), QStringLiteral("1234"));
            QCOMPARE(dialog.Edit1->maxLength(), 4);
        });
    }

    void blockedBandQuestion_data()
    {
        QTest::addColumn<QString>("toolWord");
        QTest::addColumn<int>("range");
        QTest::addColumn<QString>("question");
        QTest::newRow("ГМВ2 with ГМВ blocked") << "04111111" << 2 << "ГМВ заблокирован.Продолжить?";
        QTest::newRow("ДМВ blocked (default word)")
            << "01111111" << 0 << "ДМВ заблокирован.Продолжить?";
        QTest::newRow("МВ3 with МВ blocked") << "02111111" << 5 << "МВ заблокирован.Продолжить?";
        QTest::newRow("МВ1 with ГМВ blocked") << "04111111" << 3 << "";
    }

    void blockedBandQuestion()
    {
        QFETCH(QString, toolWord);
        QFETCH(int, range);
        QFETCH(QString, question);
        ProgramFixture f;
        f.context().station.params.ToolWord = toolWord;
        TFTestDlg &dialog = f.program->testDialog();
        f.messages.answers = { OperatorMessages::Answer::No, OperatorMessages::Answer::Yes };
        const int result = RunModal(dialog, [&] {
            dialog.ComboBox1->setCurrentIndex(range);
            dialog.BitBtn1->click();
            if (!question.isEmpty()) {
                QVERIFY(dialog.isVisible()); // No keeps it open
                QCOMPARE(f.context().station.CurrentRange, range);
                dialog.BitBtn1->click(); // Yes lets it close
            }
        });
        QCOMPARE(result, int(QDialog::Accepted));
        const QStringList asked
            = question.isEmpty() ? QStringList() : QStringList { question, question };
        QCOMPARE(f.messages.questions, asked);
    }

    // Radio test 1 takes a locomotive number only. A refused close (blocked band,
    // "No") keeps the dialog open: the number kind stays locked to the locomotive, or
    // a train number would be dropped in silence.
    void radioTest1KeepsTheNumberKindLockedUntilTheDialogCloses()
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
        const std::optional<TestRequest> request = dialog.askTestParameters(TestNumber::RadioTest1);
        QVERIFY(lockedAfterRefusal);
        QCOMPARE(f.messages.questions.size(), 2);
        QVERIFY(dialog.RadioGroup1->isEnabled());
        QVERIFY(request);
        QVERIFY(!request->trainNumberKind);
        QCOMPARE(request->locoNumber, QStringLiteral("0000005"));
        QCOMPARE(request->range, 4);
    }

    void testParametersAnswer()
    {
        ProgramFixture f;
        TFTestDlg &dialog = f.program->testDialog();
        WhenOpened(dialog, [&] {
            QVERIFY(dialog.RadioGroup1->isEnabled());
            dialog.Edit1->setText(QStringLiteral("42"));
            dialog.ComboBox1->setCurrentIndex(3);
            dialog.BitBtn1->click();
        });
        std::optional<TestRequest> request = dialog.askTestParameters(TestNumber::RadioTest2);
        QVERIFY(request);
        QVERIFY(request->trainNumberKind);
        QCOMPARE(request->trainNumber, QStringLiteral("0042"));
        QCOMPARE(request->range, 3);

        WhenOpened(dialog, [&] { dialog.BitBtn2->click(); });
        QVERIFY(!dialog.askTestParameters(TestNumber::RadioTest3));
    }

    void cancelStillTakesTheRange()
    {
        ProgramFixture f;
        TFTestDlg &dialog = f.program->testDialog();
        const int result = RunModal(dialog, [&] {
            dialog.ComboBox1->setCurrentIndex(1);
            dialog.BitBtn2->click();
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(f.context().station.CurrentRange, 1);
        QVERIFY(f.messages.questions.isEmpty());
    }

    void specialModeCourse()
    {
        ProgramFixture f;
        f.context().station.params.Mehanik = QStringLiteral("9316");
        TFSPC &window = f.program->specialMode();
        RunModal(window, [&] {
            window.Edit1->setText(QStringLiteral("42"));
            window.Edit2->setText(QStringLiteral("12345"));
            window.Edit3->setText(QStringLiteral("1"));
            window.BitBtn1->click();
            QVERIFY(!window.BitBtn1->isEnabled()); // no second start
            QCOMPARE(f.takeSent(),
                Bytes("EC 80 80 80 80 84 82 80 80 ED EE 81 80 80 81 82 83 84 85 EF "
                      "E0 80 80 80 80 80 80 80 81 E1"));
            f.receive(Bytes("F2 81 82 83 84 85 86 87 88 F3"));
            QCOMPARE(window.EResult2->text(), QStringLiteral("1 345678"));
            QCOMPARE(window.EResult2->palette().color(QPalette::Text), QColor(Qt::blue));
            f.receive(Bytes("F2 81 82 83 84 85 86 87 88 F3"));
            QCOMPARE(window.EResult2->palette().color(QPalette::Text), QColor(Qt::black));
            f.receive(Bytes("F0 8A 8B 80 80 80 80 80 81 F1"));
            QCOMPARE(window.EResult1->text(), QStringLiteral("AB000001"));
            window.BitBtn3->click(); // Сброс
            QVERIFY(window.EResult1->text().isEmpty() && window.EResult2->text().isEmpty());
            QVERIFY(window.BitBtn1->isEnabled());
            QCOMPARE(f.takeSent(), Bytes("D0"));
            window.BitBtn1->click();
            f.takeSent();
            window.BitBtn2->click(); // Выход during a run
        });
        QCOMPARE(f.takeSent(), Bytes("D0"));
        QCOMPARE(f.context().station.numbers.InfoText, QStringLiteral("00000001"));
        QVERIFY(window.BitBtn1->isEnabled());
    }

    void specialModeLabelsAreNamed()
    {
        ProgramFixture f;
        const QStringList captions { "Номер поезда", "Номер локомотива", "Информация",
            "Результат 1:", "Результат 2:" };
        for (int i = 0; i < captions.size(); ++i) {
            const auto *label = f.program->specialMode().findChild<QLabel *>(
                QStringLiteral("Label%1").arg(i + 1));
            QVERIFY2(label, qPrintable(captions.at(i)));
            QCOMPARE(label->text(), captions.at(i));
        }
    }

    void specialModeNeedsTheAccessCode()
    {
        ProgramFixture f;
        f.program->specialMode().N31Click();
        QCOMPARE(f.messages.errors,
            QStringList { QStringLiteral("У Вас нет разрешения на выполнение этого режима") });
        QVERIFY(f.takeSent().isEmpty());

        f.context().station.params.Mehanik = QStringLiteral("9316");
        bool opened = false;
        WhenOpened(f.program->specialMode(), [&] { opened = true; });
        f.program->specialMode().N31Click();
        QVERIFY(opened);
        QCOMPARE(f.messages.errors.size(), 1);
    }
};

QTEST_MAIN(TestTestDialogs)
#include "tst_testdialogs.moc"
