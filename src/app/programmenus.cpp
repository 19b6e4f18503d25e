// What the main window's menu items, toolbar buttons and signals set going.
#include "app/legacyimportmenu.h"
#include "app/program.h"
#include "blocks/windows/blocknumwindow.h"
#include "console/aboutbox.h"
#include "console/mainform.h"
#include "console/trafficwindow.h"
#include "params/windows/parameterswindow.h"
#include "records/windows/databasedialog.h"
#include "records/windows/resultbrowsers.h"
#include "records/windows/rvregisterwindow.h"
#include "sequences/hourlyrepetition.h"
#include "sequences/radiotest1.h"
#include "sequences/radiotest23.h"
#include "sequences/selftestsequence.h"
#include "sequences/servicecommands.h"
#include "sequences/windows/radiotestpanel.h"
#include "sequences/windows/selftestpanel.h"
#include "sequences/windows/technologicalmodewindow.h"
#include "shared/testsession.h"
#include "stats/windows/resulttools.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QPushButton>

namespace {

// Shows a window that is not modal, in front.
void showInFront(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

template<typename Handler>
void onTrigger(std::initializer_list<QAction *> items, QObject *receiver, Handler handler)
{
    for (QAction *item : items) {
        QObject::connect(item, &QAction::triggered, receiver, handler);
    }
}

} // namespace

void Program::connectMenus()
{
    TMainForm *main = m_mainForm.get();
    const MainFormControls &ui = main->controls();

    QObject::connect(ui.IPort, &QMenu::aboutToShow, main, &TMainForm::IPortClick);
    QObject::connect(ui.portGroup, &QActionGroup::triggered, main, &TMainForm::ICom4Click);
    onTrigger({ ui.mOtherPort }, main, [main] { main->otherPortClick(); });
    onTrigger({ ui.mClosePort }, main, [main] { main->mClosePortClick(); });

    onTrigger({ ui.N14 }, m_selfTest, [this] { m_selfTest->ITest1Click(); });
    QObject::connect(main, &TMainForm::Test1, m_selfTest, &SelfTestSequence::Test1);
    QObject::connect(
        ui.Panel4->BitBtn3, &QPushButton::clicked, m_selfTest, &SelfTestSequence::BitBtn3Click);
    onTrigger(
        { ui.ITest1, ui.ToolButton1 }, m_radioTest1, [this] { m_radioTest1->ToolButton1Click(); });
    QObject::connect(ui.BitBtn5, &QPushButton::clicked, m_radioTest1, &RadioTest1::BitBtn5Click);
    onTrigger(
        { ui.ITest2, ui.ToolButton2 }, m_radioTest23, [this] { m_radioTest23->ITest2Click(); });
    onTrigger(
        { ui.ITest3, ui.ToolButton3 }, m_radioTest23, [this] { m_radioTest23->ITest3Click(); });
    QObject::connect(main, &TMainForm::Test2, m_radioTest23, &RadioTest23::Test2);
    QObject::connect(
        ui.Panel5->BitBtn4, &QPushButton::clicked, m_radioTest23, &RadioTest23::BitBtn4Click);

    onTrigger({ ui.IReset, ui.ToolButton8 }, m_service, [this] { m_service->IResetClick(); });
    onTrigger({ ui.ICall1, ui.ToolButton6 }, m_service, [this] { m_service->ICall1Click(0); });
    onTrigger({ ui.ICall2, ui.ToolButton7 }, m_service, [this] { m_service->ICall1Click(1); });
    onTrigger({ ui.N8 }, m_service, [this] { m_service->N8Click(); });
    onTrigger({ ui.N9 }, m_service, [this] { m_service->N9Click(); });
    onTrigger({ ui.N31 }, m_specialMode, [this] { m_specialMode->N31Click(); });
    QObject::connect(
        main, &TMainForm::specialModeResult, m_specialMode, &TFSPC::showSpecialModeResult);

    onTrigger({ ui.N11, ui.ToolButton10 }, main, [this] { showInFront(m_selfTestResults); });
    onTrigger({ ui.N231, ui.ToolButton11 }, main, [this] { showInFront(m_radioTestResults); });
    onTrigger({ ui.IStatistics }, m_resultTools, [this] { m_resultTools->showStatistics(); });
    onTrigger({ ui.N12 }, main, [this] { m_radioRegister->exec(); });
    onTrigger({ ui.iBlockNum }, main, [this] { m_blockNumbers->iBlockNumClick(); });
    onTrigger({ ui.iDatabase }, main, [this] { m_databaseDialog->exec(); });
    onTrigger({ ui.N6 }, m_every,
        [this] { m_every->showTraffic(m_context.ReceivedLog, m_context.SentLog); });
    onTrigger({ ui.N3, ui.ToolButton13 }, main, [main] { main->N3Click(); });
    onTrigger({ ui.N10 }, m_about, [this] { m_about->exec(); });
    // The register's table is closed with the program (its own box tells a failure).
    QObject::connect(main, &TMainForm::closing, m_radioRegister, &TFDBRV::closeTable);

    QObject::connect(ui.NT2, &QAction::triggered, m_hourly, &HourlyRepetition::NT2Click);
    QObject::connect(ui.NT3, &QAction::triggered, m_hourly, &HourlyRepetition::NT3Click);
    // The check marks show the session's hourly choice, whoever changed it.
    QObject::connect(&m_context.session, &TestSession::hourlyTestChanged, main, [main](int test) {
        main->controls().NT2->setChecked(test == 2);
        main->controls().NT3->setChecked(test == 3);
    });
    onTrigger({ ui.N2 }, m_hourly, [this] { m_hourly->N2Click([this] { m_parameters->exec(); }); });

    QObject::connect(m_parameters, &TFParam::serviceWordEdited, main, &TMainForm::ShowServiceWord);
    QObject::connect(
        m_parameters, &TFParam::sensitivityCheckChanged, main, &TMainForm::ShowSensitivityFields);
    QObject::connect(
        m_parameters, &TFParam::accessItemsAllowed, main, &TMainForm::setReservedItems);

    AddLegacyImportMenuItem(*this);
}
