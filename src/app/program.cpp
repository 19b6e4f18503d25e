#include "app/program.h"

#include "blocks/windows/blocknumwindow.h"
#include "console/aboutbox.h"
#include "console/mainform.h"
#include "console/trafficwindow.h"
#include "link/stationreceiver.h"
#include "params/windows/parameterswindow.h"
#include "records/databaseserver.h"
#include "records/windows/databasedialog.h"
#include "records/windows/reportoptionsdialog.h"
#include "records/windows/resultbrowsers.h"
#include "records/windows/rvregisterwindow.h"
#include "records/windows/selectdialog.h"
#include "sequences/hourlyrepetition.h"
#include "sequences/radiotest1.h"
#include "sequences/radiotest23.h"
#include "sequences/selftestsequence.h"
#include "sequences/servicecommands.h"
#include "sequences/windows/callrangedialog.h"
#include "sequences/windows/radiotestpanel.h"
#include "sequences/windows/selftestpanel.h"
#include "sequences/windows/technologicalmodewindow.h"
#include "sequences/windows/testparametersdialog.h"
#include "shared/clock.h"
#include "stats/windows/resulttools.h"

Program::Program(Clock &clock, OperatorMessages &messages, const DatabaseLocation &database,
    const QString &defaultPort)
    : m_context(clock, messages, database)
{
    m_context.defaultPortName = defaultPort;
    createWindows();
    createSequences();
    connectMenus();
}

Program::~Program() = default;

void Program::createWindows()
{
    // The main window first: its creation connects to the station.
    m_mainForm = std::make_unique<TMainForm>(m_context);
    TMainForm *main = m_mainForm.get();
    m_parameters = new TFParam(m_context, main);
    m_every = new TFevery(main);
    m_testDialog = new TFTestDlg(m_context.station, m_context.messages, main);
    m_about = new TAboutBox(main);
    m_specialMode = new TFSPC(m_context, main);
    m_callDialog = new TFDiapDlg(main);
    m_reportOptions = new TForm2(main);
    // The selection dialog is shared by both browsers, so it comes before them.
    m_select
        = new TFSelectDlg(m_context.station.numbers.LocoNumber, main, m_context.clock.now().date());
    const DatabaseLocation &tables = m_context.recorder.database();
    const BrowserServices services { tables, *m_select, *m_reportOptions, m_context.clock,
        m_context.messages };
    m_selfTestResults = new TFDB(services, main);
    m_radioTestResults = new TFDB23(services, main);
    m_resultTools = new ResultTools(tables, m_context.clock, m_context.messages, main);
    m_resultTools->serve(*m_selfTestResults);
    m_resultTools->serve(*m_radioTestResults);
    // The registers open their tables here, for the whole run.
    m_radioRegister = new TFDBRV(m_context.clock, m_context.messages, tables, main);
    m_blockNumbers = new TfBlockNum(m_context.clock, m_context.messages, tables, main);
    m_databaseDialog = new TDatabaseDialog(tables, main);

    main->receiver().statusCodes().setAttenuationLookup(&m_radioRegister->attenuationLookup());
    m_about->setDatabase(DescribeLocation(tables));
    const auto comboChange = [main](int index) { main->ComboChange(index); };
    m_testDialog->ComboChange = comboChange;
    m_callDialog->ComboChange = comboChange;
}

void Program::createSequences()
{
    TMainForm *main = m_mainForm.get();
    const MainFormControls &ui = main->controls();
    m_selfTest = new SelfTestSequence(m_context, *main, *ui.Panel4, main);
    m_radioTest1 = new RadioTest1(m_context, *main, *m_testDialog, *main, main);
    m_radioTest23 = new RadioTest23(m_context, *main, *m_testDialog, *ui.Panel5, main);
    m_blockNumbers->factoryNumbers().setOutbox(&m_context.recorder.outbox());
    m_radioTest23->SaveReceivedFactoryNumbers
        = [this](ReceivedFactoryDigits &digits, const QString &locoNumber) {
              m_blockNumbers->factoryNumbers().SaveReceivedFactoryNumbers(digits, locoNumber);
          };
    m_service = new ServiceCommands(m_context, *main, *main, *m_callDialog, main);
    m_hourly = new HourlyRepetition(m_context, *main, *m_radioTest23, *m_selfTest, main);
}
