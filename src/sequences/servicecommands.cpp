#include "sequences/servicecommands.h"

#include "context/programcontext.h"
#include "link/commands.h"
#include "sequences/callrangeview.h"
#include "sequences/servicecommandsview.h"
#include "sequences/testhost.h"
#include "shared/clock.h"

ServiceCommands::ServiceCommands(ProgramContext &context, TestHost &host, ServiceCommandsView &view,
    CallRangeView &callRange, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_host(host)
    , m_view(view)
    , m_callRange(callRange)
{ }

void ServiceCommands::IResetClick()
{
    m_view.resetTestGauges();
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
    m_view.hideAmplifierAlarms();
    const std::optional<int> range = m_callRange.askCallRange(m_context.station.CurrentRange);
    if (!range) {
        return;
    }
    m_context.station.CurrentRange = *range;
    m_host.setCurrentRange(*range); // shows it
    // The repeat sends the same call: the range may have changed meanwhile (a 700 Hz
    // report or a range code), but the alarm concerns the call that went out.
    sendCall(*range, tag);
    CallAfter(m_context.clock, AlarmWatchMs, this, [this, range = *range, tag] {
        if (m_view.amplifierAlarmShown()) {
            m_view.hideAmplifierAlarms();
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
    m_host.ClearMessageGrid();
    m_context.recorder.ClearMeasurements();
    CommandBuffer &buffer = m_context.commandBuffer;
    buffer.Start();
    AppendTestStartFrame(buffer, testNumber);
    m_context.sender.SendCommand();
    m_view.showTechnologicalMode(testNumber == TestNumber::TechMode1
            ? QStringLiteral("Технологический режим 1: измерение ЛИУ")
            : QStringLiteral("Технологический режим 2: измерение девиации"),
        testNumber == TestNumber::TechMode1);
}

void ServiceCommands::N8Click()
{
    startTechnologicalMode(TestNumber::TechMode1);
}

void ServiceCommands::N9Click()
{
    startTechnologicalMode(TestNumber::TechMode2);
}
