#include "console/aboutbox.h"
#include "mainformfixture.h"
#include "sequences/windows/radiotestpanel.h"
#include "sequences/windows/selftestpanel.h"
#include "widgets/gauges.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

namespace {

bool menuEnabled(const QMenu *menu)
{
    return menu->isEnabled() && menu->menuAction()->isEnabled();
}

QString enabledSet(const MainFormControls &ui)
{
    QStringList on;
    const std::pair<const char *, const QMenu *> menus[] = {
        { "IPort", ui.IPort },
        { "ITelv", ui.ITelv },
        { "ITest", ui.ITest },
        { "IDB", ui.IDB },
        { "N5", ui.N5 },
        { "N4", ui.N4 },
    };
    for (const auto &[name, menu] : menus) {
        if (menuEnabled(menu)) {
            on.append(QLatin1String(name));
        }
    }
    const std::pair<const char *, const QAction *> items[] = {
        { "N8", ui.N8 },
        { "N9", ui.N9 },
        { "N31", ui.N31 },
        { "N6", ui.N6 },
        { "NT2", ui.NT2 },
        { "NT3", ui.NT3 },
        { "N12", ui.N12 },
    };
    for (const auto &[name, item] : items) {
        if (item->isEnabled()) {
            on.append(QLatin1String(name));
        }
    }
    QString buttons;
    for (QAction *button : ui.toolButtons) {
        buttons += button->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    }
    on.append(buttons);
    return on.join(QLatin1Char(' '));
}

QColor base(const QLineEdit *edit)
{
    return edit->palette().color(QPalette::Base);
}

} // namespace

class TestMainForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void controlsExistWithTheirNames()
    {
        MainFormFixture f;
        for (const char *name : { "ToolBar1", "Panel1", "Label7", "Gauge1", "Edit1", "CheckBox1",
                 "Edit5", "Edit6", "Shape1", "Shape2", "Shape3", "Panel2", "BitBtn1", "StringGrid1",
                 "Panel3", "ELevd", "ELevm", "ELevg", "Edit2", "Edit3", "Edit4", "Edit7", "BitBtn2",
                 "Panel6", "Label25", "LLIU", "ELIU", "Gauge4", "Label27", "BitBtn5", "LBadSch_MW",
                 "LBadUM_MW", "LBadUM_GMW", "Panel4", "Panel5" }) {
            QVERIFY2(f.form->findChild<QWidget *>(QLatin1String(name)), name);
        }
        for (const char *name : { "ToolButton1", "ToolButton2", "ToolButton3", "ToolButton6",
                 "ToolButton7", "ToolButton8", "ToolButton10", "ToolButton11", "ToolButton13" }) {
            QVERIFY2(f.form->findChild<QToolButton *>(QLatin1String(name)), name);
        }
        QCOMPARE(f.ui().toolButtons.size(), 13);
        QCOMPARE(f.form->centralWidget()->size(), QSize(683, 408));
        QCOMPARE(f.ui().Label7->text(), QStringLiteral("ТЕЛВ свободен"));
        QVERIFY(f.ui().CheckBox1->isHidden());
        QVERIFY(f.ui().Panel4->isHidden() && f.ui().Panel5->isHidden());
        QVERIFY(!f.ui().Panel6->isHidden());
        QVERIFY(f.ui().iBlockNum->isVisible() == false && !f.ui().iBlockNum->isEnabled());
        QCOMPARE(f.ui().ToolButton10->toolTip(),
            QStringLiteral("Таблица результатов самотеста ТЕЛВ "));
    }

    void startUpFailureSwitchesTheLinkMenusOff()
    {
        MainFormFixture f;
        QCOMPARE(f.messages.errors.size(), 1);
        QVERIFY(f.messages.errors.first().startsWith(
            QStringLiteral("Ошибка при соединении ttyNoSuchPort")));
        QVERIFY(f.form->CurrentPort().isEmpty());
        QCOMPARE(enabledSet(f.ui()), QStringLiteral("IPort IDB N4 N8 N9 N12 0000000011111"));
    }

    void menuStates_data()
    {
        QTest::addColumn<QString>("mehanik");
        QTest::addColumn<bool>("link");
        QTest::addColumn<bool>("commands");
        QTest::addColumn<QString>("enabled");

        QTest::newRow("link on, commands on, no code")
            << "" << true << true << "IPort ITelv ITest IDB N5 N4 N8 N9 N12 1111111111111";
        QTest::newRow("link on, commands on, access code")
            << "9316" << true << true
            << "IPort ITelv ITest IDB N5 N4 N8 N9 N31 N6 NT2 NT3 N12 1111111111111";
        QTest::newRow("commands off, access code")
            << "9316" << true << false << "IDB N5 N4 N12 0000001111111";
        QTest::newRow("commands off, no code")
            << "" << true << false << "IDB N5 N4 N12 0000001111111";
        QTest::newRow("code with a leading zero is not the code")
            << "09316" << true << true << "IPort ITelv ITest IDB N5 N4 N8 N9 N12 1111111111111";
        QTest::newRow("commands on after link off")
            << "9316" << false << true
            << "IPort ITelv ITest IDB N4 N8 N9 N31 N6 NT2 NT3 N12 1111110011111";
    }

    void menuStates()
    {
        QFETCH(QString, mehanik);
        QFETCH(bool, link);
        QFETCH(bool, commands);
        QFETCH(QString, enabled);
        MainFormFixture f;
        f.context.station.params.Mehanik = mehanik;
        f.form->SetLinkMenus(link);
        f.form->SetCommandMenus(commands);
        QCOMPARE(enabledSet(f.ui()), enabled);
    }

    void serviceWordDisplay_data()
    {
        QTest::addColumn<QString>("toolWord");
        QTest::addColumn<bool>("mvCheckAllowed");
        QTest::addColumn<QString>("grey"); // fields in the grey colour
        QTest::addColumn<QString>("disabled");

        QTest::newRow("all bands blocked")
            << "07111112" << false << "ELevd ELevm ELevg Edit2 Edit3 Edit4 Edit7"
            << "ELevm Edit3 Edit4";
        QTest::newRow("nothing blocked, MV check not allowed")
            << "00111111" << false << "Edit3 Edit4"
            << "Edit3 Edit4";
        QTest::newRow("nothing blocked, MV check allowed") << "00111111" << true << ""
                                                           << "";
        QTest::newRow("DMV blocked (default)") << "01111111" << true << "ELevd"
                                               << "";
        QTest::newRow("GMV blocked") << "04111111" << true << "ELevg Edit2 Edit7"
                                     << "";
    }

    void serviceWordDisplay()
    {
        QFETCH(QString, toolWord);
        QFETCH(bool, mvCheckAllowed);
        QFETCH(QString, grey);
        QFETCH(QString, disabled);
        MainFormFixture f;
        f.ui().Shape1->setColor(Qt::green);
        f.context.station.params.ToolWord = toolWord;
        f.context.station.params.MvSensitivityCheckAllowed = mvCheckAllowed;
        f.form->ShowServiceWord();

        QStringList greyFields;
        QStringList disabledFields;
        for (const char *name : { "ELevd", "ELevm", "ELevg", "Edit2", "Edit3", "Edit4", "Edit7" }) {
            auto *edit = f.form->findChild<QLineEdit *>(QLatin1String(name));
            if (base(edit) != QColor(Qt::white)) {
                greyFields.append(QLatin1String(name));
            }
            if (!edit->isEnabled()) {
                disabledFields.append(QLatin1String(name));
            }
        }
        QCOMPARE(greyFields.join(QLatin1Char(' ')), grey);
        QCOMPARE(disabledFields.join(QLatin1Char(' ')), disabled);
        QCOMPARE(f.ui().Edit5->text(), toolWord.mid(7, 1));
        QCOMPARE(f.ui().Edit6->text(), toolWord.mid(6, 1));
        const bool dmvBlocked = toolWord.at(1).unicode() & 1;
        QCOMPARE(f.ui().Shape1->color(), dmvBlocked ? QColor(Qt::white) : QColor(Qt::green));
    }

    void startUpDisplayIsPlain()
    {
        MainFormFixture f;
        QCOMPARE(f.ui().Edit5->text(), QStringLiteral("0"));
        QCOMPARE(f.ui().Edit6->text(), QStringLiteral("0"));
        for (const char *name : { "ELevd", "ELevm", "ELevg", "Edit2", "Edit3", "Edit4", "Edit7" }) {
            auto *edit = f.form->findChild<QLineEdit *>(QLatin1String(name));
            QVERIFY(edit->isEnabled());
        }
    }

    void resetResultsPanel()
    {
        MainFormFixture f;
        const MainFormControls &ui = f.ui();
        ui.ELIU->show();
        ui.LLIU->show();
        ui.BitBtn5->show();
        ui.LBadUM_MW->show();
        f.form->ResetResultsPanel();
        // The header already reads as at rest: the ЛИУ field stays.
        QVERIFY(!ui.ELIU->isHidden() && !ui.LLIU->isHidden());
        QVERIFY(ui.BitBtn5->isHidden() && ui.LBadUM_MW->isHidden());

        ui.Label25->setText(QStringLiteral("Технологический режим 1"));
        f.form->ResetResultsPanel();
        QCOMPARE(ui.Label25->text(), QStringLiteral("Результаты тестирования"));
        QVERIFY(ui.ELIU->isHidden() && ui.LLIU->isHidden());
    }

    void clearMeasurementsEmptiesTheFields()
    {
        MainFormFixture f;
        f.form->showField(StationView::Field::MvAttenuation, QStringLiteral("07"));
        f.form->showField(StationView::Field::GmvDeviation, QStringLiteral("12"));
        f.context.station.measurements.MvAttenuation = QStringLiteral("07");
        f.context.recorder.ClearMeasurements();
        QCOMPARE(f.ui().Edit3->text(), QString());
        QCOMPARE(f.ui().ELevg->text(), QString());
        QCOMPARE(f.context.station.measurements.MvAttenuation, QStringLiteral("00"));
    }

    // The main window and the About box open in the middle of the screen, frame
    // included; the About box even when the main window has been moved from there.
    void windowsOpenCentredOnTheScreen()
    {
        MainFormFixture f;
        f.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
        const QRect screen = f.form->screen()->availableGeometry();
        const auto offCentre = [&screen](const QWidget &window) {
            return (window.frameGeometry().center() - screen.center()).manhattanLength();
        };
        QVERIFY(offCentre(*f.form) <= 2);

        f.form->move(screen.topLeft());
        TAboutBox about(f.form.get());
        for (int opening = 1; opening <= 2; ++opening) {
            about.show();
            QVERIFY(QTest::qWaitForWindowExposed(&about));
            QVERIFY2(offCentre(about) <= 1, qPrintable(QString::number(opening)));
            about.hide();
            about.move(screen.topLeft());
        }
    }

    void helpTopics()
    {
        MainFormFixture f;
        QCOMPARE(Help::topicOf(f.ui().Edit3), 6);
        QCOMPARE(Help::topicOf(f.ui().ELIU), 7);
        QCOMPARE(Help::topicOf(f.ui().LBadUM_MW), 1); // its container, Panel6
        QCOMPARE(Help::topicOf(f.ui().ITest2), 10);
        QCOMPARE(Help::topicOf(f.ui().N8), 5);
        QCOMPARE(Help::topicOf(f.ui().N11), 8);
        QCOMPARE(Help::topicOf(f.ui().ICall2), 11);
        QCOMPARE(Help::topicOf(f.ui().Label7), 0);

        f.form->show();
        f.ui().Edit3->setEnabled(true);
        f.ui().Edit3->setFocus();
        QTest::keyClick(f.ui().Edit3, Qt::Key_F1);
        QCOMPARE(f.form->help().shownTopic(), 6);
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
