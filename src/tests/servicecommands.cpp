#include "tests/servicecommands.h"

#include "console/gauges.h"
#include "console/mainformcontrols.h"
#include "console/programcontext.h"
#include "link/clock.h"
#include "link/commands.h"
#include "tests/callrangedialog.h"
#include "tests/radiotestpanel.h"
#include "tests/selftestpanel.h"
#include "tests/testhost.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

ServiceCommands::ServiceCommands(ProgramContext &context, TestHost &host, TFDiapDlg &callDialog,
    const MainFormControls &window, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_host(host)
    , m_callDialog(callDialog)
    , m_window(window)
{ }

void ServiceCommands::IResetClick()
{
    for (Gauge *gauge : std::initializer_list<Gauge *> {
             m_window.Panel4->Gauge2, m_window.Panel5->Gauge3, m_window.Gauge4 }) {
        gauge->setPosition(0);
    }
    m_host.ClearMessageGrid();
    m_context.recorder.ClearMeasurements();
    m_host.SetCommandMenus(true);
    m_context.sendSingleByte(CommandByte::Reset);
    // A test wait that is running ends at its next check, without a row. The reset
    // station is no longer busy with anything.
    m_context.station.test.WaitActive = false;
    m_context.station.test.StationBusy = false;
}

void ServiceCommands::ICall1Click(int tag)
{
    m_window.LBadUM_MW->hide();
    m_window.LBadUM_GMW->hide();
    m_callDialog.ComboBox1->setCurrentIndex(m_context.station.CurrentRange);
    if (m_callDialog.exec() != QDialog::Accepted) {
        return;
    }
    // The repeat sends the same call: the range may have changed meanwhile (a 700 Hz
    // report or a range code), but the alarm concerns the call that went out.
    const int range = m_context.station.CurrentRange;
    sendCall(range, tag);
    CallAfter(m_context.clock, AlarmWatchMs, this, [this, range, tag] {
        if (!m_window.LBadUM_MW->isHidden() || !m_window.LBadUM_GMW->isHidden()) {
            m_window.LBadUM_MW->hide();
            m_window.LBadUM_GMW->hide();
            sendCall(range, tag);
        }
    });
}

void ServiceCommands::sendCall(int range, int tag)
{
    CommandBuffer &buffer = m_context.commandBuffer;
    buffer.Start();
    AppendRangeByte(buffer, range);
    buffer.append(tag == 0 ? CommandByte::Call1 : CommandByte::Call2);
    m_context.sender.SendCommand();
}

void ServiceCommands::startTechnologicalMode(int testNumber)
{
    if (m_window.Panel4->isHidden()) {
        m_host.ResetResultsPanel();
    }
    m_host.ClearMessageGrid();
    m_context.recorder.ClearMeasurements();
    CommandBuffer &buffer = m_context.commandBuffer;
    buffer.Start();
    AppendTestStartFrame(buffer, testNumber);
    m_context.sender.SendCommand();
}

void ServiceCommands::N8Click()
{
    startTechnologicalMode(TestNumber::TechMode1);
    m_window.LLIU->show();
    m_window.ELIU->show();
    m_window.Label25->setText(QStringLiteral("Технологический режим 1: измерение ЛИУ"));
}

void ServiceCommands::N9Click()
{
    startTechnologicalMode(TestNumber::TechMode2);
    m_window.LLIU->hide();
    m_window.ELIU->hide();
    m_window.Label25->setText(QStringLiteral("Технологический режим 2: измерение девиации"));
}
