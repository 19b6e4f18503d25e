#include "console/program.h"

#include "console/aboutbox.h"
#include "console/everywindow.h"
#include "console/mainform.h"
#include "records/databasealias.h"

Program::Program(Clock &clock, OperatorMessages &messages)
    : m_context(clock, messages, EnsureDatabaseAlias().directory)
{
    // The main window first: its creation connects to the station.
    m_mainForm = std::make_unique<TMainForm>(m_context);
    m_every = new TFevery(m_mainForm.get());
    m_about = new TAboutBox(m_mainForm.get());
    m_mainForm->setEveryWindow(m_every);
    m_mainForm->setAboutBox(m_about);
    m_about->setTablesDirectory(m_context.recorder.databaseDirectory());
}

Program::~Program() = default;
