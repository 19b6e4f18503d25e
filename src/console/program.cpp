#include "console/program.h"

#include "console/aboutbox.h"
#include "console/everywindow.h"
#include "console/mainform.h"
#include "params/parameterswindow.h"
#include "tests/radiotest1.h"
#include "tests/selftestsequence.h"
#include "tests/specialmodewindow.h"
#include "tests/testparametersdialog.h"

#include <QAction>

Program::Program(Clock &clock, OperatorMessages &messages, const QString &databaseDirectory,
    const QString &defaultPort)
    : m_context(clock, messages, databaseDirectory)
{
    m_context.defaultPortName = defaultPort;
    // The main window first: its creation connects to the station.
    m_mainForm = std::make_unique<TMainForm>(m_context);
    TMainForm *main = m_mainForm.get();
    m_parameters = new TFParam(m_context, main);
    m_every = new TFevery(main);
    m_testDialog = new TFTestDlg(m_context.station, m_context.messages, main);
    m_about = new TAboutBox(main);
    m_specialMode = new TFSPC(m_context, main);
    main->setEveryWindow(m_every);
    main->setAboutBox(m_about);
    main->setSpecialModeWindow(m_specialMode);
    connectTests();
    m_about->setTablesDirectory(m_context.recorder.databaseDirectory());
}

Program::~Program() = default;

void Program::connectTests()
{
    TMainForm *main = m_mainForm.get();
    const MainFormControls &ui = main->controls();
    m_testDialog->ComboChange = [main](int index) { main->ComboChange(index); };

    m_selfTest = new SelfTestSequence(m_context, *main, *ui.Panel4, main);
    QObject::connect(ui.N14, &QAction::triggered, m_selfTest, &SelfTestSequence::ITest1Click);
    QObject::connect(main, &TMainForm::Test1, m_selfTest, &SelfTestSequence::Test1);

    m_radioTest1 = new RadioTest1(m_context, *main, *m_testDialog, ui, main);
    for (QAction *item : { ui.ITest1, ui.toolButtons.at(0) }) {
        QObject::connect(item, &QAction::triggered, m_radioTest1, &RadioTest1::ToolButton1Click);
    }
}

void Program::connectParameters()
{
    TMainForm *main = m_mainForm.get();
    const MainFormControls &ui = main->controls();
    QObject::connect(ui.N2, &QAction::triggered, m_parameters, [this] { m_parameters->exec(); });
    QObject::connect(m_parameters, &TFParam::serviceWordEdited, main, &TMainForm::ShowServiceWord);
    QObject::connect(
        m_parameters, &TFParam::sensitivityCheckChanged, main, &TMainForm::ShowSensitivityFields);
    QObject::connect(m_parameters, &TFParam::accessItemsAllowed, main, [ui](bool allowed) {
        for (QAction *item : { ui.N31, ui.N6, ui.NT2, ui.NT3 }) {
            item->setEnabled(allowed);
        }
    });
}
