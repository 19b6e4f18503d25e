#include "link/commandsender.h"

#include "link/commandbuffer.h"
#include "link/commandport.h"
#include "link/trafficlog.h"
#include "shared/clock.h"
#include "shared/operatormessages.h"

#include <algorithm>

CommandSender::CommandSender(CommandBuffer &buffer, TrafficLog &sentLog, OperatorMessages &messages,
    Clock &clock, QObject *parent)
    : QObject(parent)
    , m_buffer(buffer)
    , m_sentLog(sentLog)
    , m_messages(messages)
    , m_clock(clock)
{ }

bool CommandSender::portOpen() const
{
    return m_port != nullptr && m_port->isOpen();
}

void CommandSender::SendCommand()
{
    const int count = m_buffer.Count();
    if (count == 0) {
        return;
    }
    const int timeLimitMs = count * MillisecondsPerByte;
    const bool portOpen = this->portOpen();
    int written = 0;
    if (portOpen) {
        written = static_cast<int>(std::clamp<long long>(
            m_port->writeBytes(m_buffer.data(), count, timeLimitMs), 0, count));
    }

    for (int i = 0; i < written; ++i) {
        m_sentLog.append(m_buffer.data()[i]);
    }
    m_buffer.consume(written);
    if (written != count) {
        // Without a port the write would have waited out its whole time limit.
        reportFailureAfter(portOpen ? 0 : timeLimitMs);
    }
}

void CommandSender::reportFailureAfter(int delayMs)
{
    CallAfter(m_clock, delayMs, this,
        [this] { m_messages.showError(QStringLiteral("Ошибка передачи!")); });
}
