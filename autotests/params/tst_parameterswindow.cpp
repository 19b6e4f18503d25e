#include "bytes.h"
#include "parameterfixture.h"
#include "params/windows/parameterswindow.h"
#include "params/windows/reservewindow.h"
#include "params/windows/servicewordwindow.h"
#include "widgets/appearance.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

const QString Question = QStringLiteral("Параметры изменены и не переданы ТЕЛВ. Передать?");

struct WindowFixture : ParameterFixture
{
    WindowFixture() { params().reserv = params().Osl_mw = params().osl_gmw = QStringLiteral("00"); }

    QLineEdit *edit(const QString &name) const { return window.findChild<QLineEdit *>(name); }
    QAbstractButton *button(const QString &name) const
    {
        return window.findChild<QAbstractButton *>(name);
    }

    // Types text over the whole content of the edit, as an operator does after
    // selecting it.
    void type(const QString &name, const QString &text)
    {
        QLineEdit *e = edit(name);
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, text);
    }

    // Clicks a decode button and, once its dialog is up, lets look work on it and
    // closes it with OK or Cancel.
    template<typename Dialog>
    void decode(const char *buttonName, const std::function<void(Dialog &)> &look, bool ok)
    {
        QTimer::singleShot(0, &window, [this, look, ok] {
            auto *dialog = window.findChild<Dialog *>();
            look(*dialog);
            ok ? dialog->accept() : dialog->reject();
        });
        button(QLatin1String(buttonName))->click();
    }

    TFParam window { context };
};

template<typename W> W *child(QWidget &parent, const char *name)
{
    return parent.findChild<W *>(QLatin1String(name));
}

} // namespace

class TestParametersWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { ApplyProgramAppearance(*qobject_cast<QApplication *>(qApp)); }

    void openingFillsFromTheSetAndClosingAsksNothing()
    {
        WindowFixture f;
        f.params().Mehanik = QStringLiteral("77");
        f.params().ProgramVersion = QStringLiteral("010203");
        f.params().ToolWord = QStringLiteral("0A311111"); // a station report may hold hex
        f.params().DeviacD = QStringLiteral("1A");
        f.params().reserv = QStringLiteral("3F");
        f.params().PrdMv3 = QStringLiteral("987");
        QSignalSpy opened(&f.window, &TFParam::opened);
        QSignalSpy closed(&f.window, &TFParam::closed);
        QSignalSpy access(&f.window, &TFParam::accessItemsAllowed);
        f.window.show();

        QCOMPARE(opened.size(), 1);
        const QList<std::pair<const char *, const char *>> shown { { "MaskEdit1", "77" },
            { "Edit1", "010203" }, { "MaskEdit2", "0A311111" }, { "MaskEdit3", "10" },
            { "MaskEdit6", "3F" }, { "MaskEdit7", "00" }, { "MvEdit5", "987" } };
        for (const auto &[name, text] : shown) {
            QCOMPARE(f.edit(QLatin1String(name))->text(), QLatin1String(text));
        }
        QCOMPARE(f.window.changedGroups(), 0);

        f.window.close();
        QVERIFY(f.messages.questions.isEmpty());
        QVERIFY(f.port.written.isEmpty());
        QCOMPARE(closed.size(), 1);
        QCOMPARE(access.size(), 1);
        QCOMPARE(access.first().first().toBool(), false);
        // The report's hex digit stays in the set until the window sends.
        QCOMPARE(f.params().DeviacD, QStringLiteral("1A"));
    }

    void typingKeepsDigitsAndMarksTheGroup_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("changed");

        QTest::newRow("upper ДМВ threshold 7b") << "MaskEdit3"
                                                << "7b"
                                                << "70" << 0x02;
        QTest::newRow("lower ГМВ threshold, too long") << "MaskEdit11"
                                                       << "123"
                                                       << "12" << 0x02;
        QTest::newRow("service word with a letter") << "MaskEdit2"
                                                    << "0x311"
                                                    << "00311" << 0x01;
        QTest::newRow("service word hex digit") << "MaskEdit2"
                                                << "00a11111"
                                                << "00A11111" << 0x01;
        QTest::newRow("МВ attenuation") << "MaskEdit7"
                                        << "q5"
                                        << "05" << 0x40;
        QTest::newRow("ГМВ attenuation") << "MaskEdit8"
                                         << "9"
                                         << "9" << 0x40;
        QTest::newRow("reserve keeps hex digits") << "MaskEdit6"
                                                  << "c1"
                                                  << "C1" << 0x40;
        QTest::newRow("receive МВ1") << "MvEdit0"
                                     << "1-2"
                                     << "102" << 0x04;
        QTest::newRow("transmit МВ1") << "MvEdit1"
                                      << "7"
                                      << "7" << 0x04;
        QTest::newRow("receive МВ2") << "MvEdit2"
                                     << "45"
                                     << "45" << 0x08;
        QTest::newRow("transmit МВ2") << "MvEdit3"
                                      << "450"
                                      << "450" << 0x08;
        QTest::newRow("receive МВ3") << "MvEdit4"
                                     << "A"
                                     << "0" << 0x10;
        QTest::newRow("transmit МВ3") << "MvEdit5"
                                      << "3"
                                      << "3" << 0x10;
        QTest::newRow("upper МВ threshold") << "MaskEdit4"
                                            << "1"
                                            << "1" << 0x02;
        QTest::newRow("upper ГМВ threshold") << "MaskEdit5"
                                             << "2"
                                             << "2" << 0x02;
        QTest::newRow("lower ДМВ threshold") << "MaskEdit9"
                                             << "3"
                                             << "3" << 0x02;
        QTest::newRow("lower МВ threshold") << "MaskEdit10"
                                            << "4"
                                            << "4" << 0x02;
        QTest::newRow("electromechanic: any characters, no group") << "MaskEdit1"
                                                                   << "Ab-1234567890"
                                                                   << "Ab-123456789" << 0;
    }
    void typingKeepsDigitsAndMarksTheGroup()
    {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        WindowFixture f;
        f.window.show();
        f.type(name, typed);
        QTEST(f.edit(name)->text(), "shown");
        QTEST(int(f.window.changedGroups()), "changed");
    }

    void serviceWordRefusesADigitOutsideItsRange_data()
    {
        QTest::addColumn<QString>("reported");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<int>("changed");

        const QString none;
        QTest::newRow("group 15 for test 3")
            << "01111111" << 5 << "f"
            << "01111111"
            << "Группа частот МВ для теста 3 (позиция 5 служебного слова): допустимы цифры от 1 до 8."
            << 0;
        QTest::newRow("МВ standby channel 5")
            << "01111111" << 8 << "5"
            << "01111111"
            << "Канал дежурного приема МВ (позиция 8 служебного слова): допустимы цифры от 1 до 4."
            << 0;
        QTest::newRow("МВ channel 6 taken") << "01111111" << 6 << "6"
                                            << "01111611" << none << 0x01;
        QTest::newRow("a letter in a bit set taken") << "01111111" << 2 << "a"
                                                     << "0A111111" << none << 0x01;
        QTest::newRow("a reported 0 elsewhere does not stand in the way")
            << "01101111" << 8 << "2"
            << "01101112" << none << 0x01;
    }
    void serviceWordRefusesADigitOutsideItsRange()
    {
        QFETCH(QString, reported);
        QFETCH(int, position);
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        WindowFixture f;
        f.params().ToolWord = reported;
        f.window.show();
        QLineEdit *word = f.edit("MaskEdit2");
        word->setFocus();
        word->setSelection(position - 1, 1);
        QTest::keyClicks(word, typed);

        QTEST(word->text(), "shown");
        QCOMPARE(f.messages.errors, refusal.isEmpty() ? QStringList() : QStringList { refusal });
        QTEST(int(f.window.changedGroups()), "changed");
    }

    // Typing a whole word: the refused key is dropped, the rest is taken.
    void serviceWordTypedOverWithAWrongGroup()
    {
        WindowFixture f;
        f.window.show();
        f.type("MaskEdit2", "0111f111");
        QCOMPARE(f.edit("MaskEdit2")->text(), QStringLiteral("0111111"));
        QCOMPARE(f.messages.errors.size(), 1);
        f.button("SpeedButton1")->click();
        QCOMPARE(f.port.written.toHex(' '), Bytes("E8 80 80 81 81 81 81 81 81 E9").toHex(' '));
    }

    void typedThresholdIsOfferedAtClosing()
    {
        WindowFixture f;
        f.window.show();
        f.type("MaskEdit3", "7b");
        f.messages.answers = { OperatorMessages::Answer::Yes };
        f.window.close();

        QCOMPARE(f.messages.questions, QStringList { Question });
        QCOMPARE(f.port.written.size(), 190);
        QCOMPARE(f.port.written.mid(30, 10), Bytes("EA 80 80 87 80 80 80 80 80 EB"));
        QCOMPARE(f.params().DeviacD, QStringLiteral("70"));
        QCOMPARE(f.tests1Rows().size(), 1);

        // The next opening starts with nothing changed.
        f.window.show();
        QCOMPARE(f.window.changedGroups(), 0);
    }

    void sendControls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<int>("length");

        QTest::newRow("service word")
            << "SpeedButton1"
            << "Послать собщение о служебном слове" << Bytes("E8 80 81") << 10;
        QTest::newRow("thresholds") << "SpeedButton2"
                                    << "Послать сообщение о порогах" << Bytes("EA 80 80") << 20;
        QTest::newRow("channels МВ1")
            << "SpeedButton3"
            << "Послать сообщение о номерах каналов МВ1" << Bytes("E4 80 81") << 10;
        QTest::newRow("channels МВ2")
            << "SpeedButton4"
            << "Послать сообщение о номерах каналов МВ2" << Bytes("E4 80 82") << 10;
        QTest::newRow("channels МВ3")
            << "SpeedButton5"
            << "Послать сообщение о номерах каналов МВ3" << Bytes("E4 80 83") << 10;
        QTest::newRow("sensitivity") << "SpeedButton7"
                                     << "Послать сообщение о порогах" << Bytes("EA 80 82") << 10;
        QTest::newRow("all") << "BitBtn1"
                             << "" << Bytes("E8 80 81") << 190;
    }
    void sendControls()
    {
        QFETCH(QString, name);
        QFETCH(QString, hint);
        QFETCH(QByteArray, start);
        QFETCH(int, length);
        WindowFixture f;
        f.window.show();
        QAbstractButton *control = f.button(name);
        QCOMPARE(control->toolTip(), hint);
        control->click();
        QCOMPARE(f.port.written.size(), length);
        QCOMPARE(f.port.written.left(3), start);
        QCOMPARE(f.tests1Rows().size(), 1);
        QCOMPARE(f.button("BitBtn1")->text(), QStringLiteral(" Отправить всё"));
    }

    void tabOrderAndFocus()
    {
        WindowFixture f;
        f.window.show();
        const QStringList expected { "MaskEdit1", "MaskEdit2", "MaskEdit3", "MaskEdit4",
            "MaskEdit5", "MaskEdit9", "MaskEdit10", "MaskEdit11", "MaskEdit7", "MaskEdit8",
            "MaskEdit6", "MvEdit0", "MvEdit1", "MvEdit2", "MvEdit3", "MvEdit4", "MvEdit5",
            "BitBtn1", "BitBtn2", "Edit1", "BitBtn3" };
        QStringList order;
        QWidget *w = f.edit("MaskEdit1");
        do {
            if (w->focusPolicy() & Qt::TabFocus) {
                order.append(w->objectName());
            }
            w = w->nextInFocusChain();
        } while (w != f.edit("MaskEdit1") && order.size() <= expected.size());
        QCOMPARE(order, expected);
        QVERIFY(f.edit("Edit1")->isReadOnly());
    }

    void serviceWordDialogShowsTheDefaultAndOkKeepsIt()
    {
        WindowFixture f;
        QSignalSpy sensitivity(&f.window, &TFParam::sensitivityCheckChanged);
        f.window.show();
        QStringList checked;
        QList<int> entries;
        f.decode<TFSS>(
            "BitBtn2",
            [&](TFSS &d) {
                // wide enough for its title "Состояние служебного слова"
                QVERIFY(d.width() >= WidthForTitle(d));
                for (QCheckBox *box : d.findChildren<QCheckBox *>()) {
                    if (box->isChecked()) {
                        checked.append(box->objectName());
                    }
                }
                for (const char *name :
                    { "ComboBox1", "ComboBox2", "ComboBox3", "ComboBox5", "ComboBox6" }) {
                    entries.append(child<QComboBox>(d, name)->currentIndex());
                }
            },
            true);
        checked.sort();
        QCOMPARE(checked, (QStringList { "CheckBox2", "CheckBox7" }));
        QCOMPARE(entries, (QList<int> { 0, 0, 0, 0, 0 }));
        QCOMPARE(f.edit("MaskEdit2")->text(), QStringLiteral("01111111"));
        QCOMPARE(f.window.changedGroups(), 0);
        QCOMPARE(sensitivity.size(), 1);
    }

    void serviceWordDialogWritesItsChoices()
    {
        WindowFixture f;
        QSignalSpy sensitivity(&f.window, &TFParam::sensitivityCheckChanged);
        QSignalSpy shown(&f.window, &TFParam::serviceWordEdited);
        f.window.show();
        f.type("MaskEdit2", "21811");
        int emptyEntry = -1;
        f.decode<TFSS>(
            "BitBtn2",
            [&](TFSS &d) {
                // "00021811": ДМВ group 2, МВ group 1, channel 8 is beyond the list, 1, 1.
                emptyEntry = child<QComboBox>(d, "ComboBox3")->currentIndex();
                child<QComboBox>(d, "ComboBox1")->setCurrentIndex(8); // the empty entry
                child<QComboBox>(d, "ComboBox2")->setCurrentIndex(7);
                child<QComboBox>(d, "ComboBox6")->setCurrentIndex(3);
                child<QCheckBox>(d, "CheckBox8")->setChecked(true);
                child<QCheckBox>(d, "CheckBox6")->setChecked(true);
                child<QCheckBox>(d, "CheckBox4")->setChecked(true);
                child<QCheckBox>(d, "CheckBox9")->setChecked(true);
            },
            true);
        QCOMPARE(emptyEntry, -1);
        QCOMPARE(f.edit("MaskEdit2")->text(), QStringLiteral("44228814"));
        QCOMPARE(f.params().ToolWord, QStringLiteral("44228814"));
        QVERIFY(f.params().MvSensitivityCheckAllowed);
        QCOMPARE(sensitivity.size(), 1);
        QCOMPARE(shown.size(), 0); // shown in the main window when it is sent
        QCOMPARE(f.window.changedGroups(), 0x01);
    }

    void serviceWordDialogCancelLeavesTheEdit()
    {
        WindowFixture f;
        QSignalSpy sensitivity(&f.window, &TFParam::sensitivityCheckChanged);
        f.window.show();
        f.type("MaskEdit2", "123");
        f.decode<TFSS>(
            "BitBtn2", [](TFSS &d) { child<QCheckBox>(d, "CheckBox9")->setChecked(true); }, false);
        QCOMPARE(f.edit("MaskEdit2")->text(), QStringLiteral("123"));
        QCOMPARE(f.params().ToolWord, QStringLiteral("00000123"));
        QVERIFY(!f.params().MvSensitivityCheckAllowed);
        QCOMPARE(sensitivity.size(), 0);
    }

    void reserveDialog()
    {
        WindowFixture f;
        f.window.show();
        f.type("MaskEdit6", "45");
        QStringList checked;
        int tone = -1;
        f.decode<TFReserv>(
            "BitBtn3",
            [&](TFReserv &d) {
                for (QCheckBox *box : d.findChildren<QCheckBox *>()) {
                    if (box->isChecked()) {
                        checked.append(box->objectName());
                    }
                }
                tone = child<QComboBox>(d, "CBTon")->currentIndex();
                child<QComboBox>(d, "CBTon")->setCurrentIndex(3);
            },
            true);
        checked.sort();
        QCOMPARE(checked, (QStringList { "CBDVX", "CBTest21", "CBTest32" }));
        QCOMPARE(tone, 0);
        QCOMPARE(f.edit("MaskEdit6")->text(), QStringLiteral("75"));
        QCOMPARE(f.params().reserv, QStringLiteral("75"));

        f.decode<TFReserv>(
            "BitBtn3", [&](TFReserv &d) { tone = child<QComboBox>(d, "CBTon")->currentIndex(); },
            false);
        QCOMPARE(tone, 0);
        QCOMPARE(f.edit("MaskEdit6")->text(), QStringLiteral("75"));
    }

    void reserveDialogPadsAndKeepsBitsAboveNine_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("test22");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("changed");
        QTest::addColumn<QByteArray>("sent");

        QTest::newRow("cancel pads the field")
            << "4" << false << false << "04" << 0x40 << Bytes("80 84");
        QTest::newRow("kept bit 3 with Тест 22 stays a hex digit")
            << "08" << true << true << "0A" << 0x40 << Bytes("80 8A");
        QTest::newRow("nothing typed, OK unchanged")
            << "" << true << false << "00" << 0 << Bytes("80 80");
    }
    void reserveDialogPadsAndKeepsBitsAboveNine()
    {
        QFETCH(QString, typed);
        QFETCH(bool, ok);
        QFETCH(bool, test22);
        WindowFixture f;
        f.window.show();
        if (!typed.isEmpty()) {
            f.type("MaskEdit6", typed);
        }
        f.decode<TFReserv>(
            "BitBtn3", [&](TFReserv &d) { child<QCheckBox>(d, "CBTest22")->setChecked(test22); },
            ok);
        QTEST(f.edit("MaskEdit6")->text(), "shown");
        QTEST(f.params().reserv, "shown");
        QTEST(int(f.window.changedGroups()), "changed");
        f.button("SpeedButton7")->click();
        QTEST(f.port.written.mid(3, 2), "sent");
    }

    void accessCodeOpensTheReservedItems_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("access code") << "9316" << true;
        QTest::newRow("with a leading zero") << "09316" << false;
    }
    void accessCodeOpensTheReservedItems()
    {
        QFETCH(QString, number);
        WindowFixture f;
        QSignalSpy access(&f.window, &TFParam::accessItemsAllowed);
        f.window.show();
        f.type("MaskEdit1", number);
        f.window.close();
        QCOMPARE(access.size(), 1);
        QTEST(access.first().first().toBool(), "allowed");
        QCOMPARE(f.params().Mehanik, number);
        QVERIFY(f.messages.questions.isEmpty());
    }
};

QTEST_MAIN(TestParametersWindow)
#include "tst_parameterswindow.moc"
