#pragma once

#include <QObject>

class Clock;
class CommandBuffer;
class CommandPort;
class OperatorMessages;
class TrafficLog;

// SendCommand: writes the CommandBuffer to the port, logs what the port took and
// tells the operator when a command did not go out whole.
class CommandSender : public QObject
{
    Q_OBJECT
public:
    static constexpr int MillisecondsPerByte = 50;

    CommandSender(CommandBuffer &buffer, TrafficLog &sentLog, OperatorMessages &messages,
        Clock &clock, QObject *parent = nullptr);

    // The port to write to; nullptr when none is open.
    void setPort(CommandPort *port) { m_port = port; }
    bool portOpen() const;

    // Writes bytes 0..Count-1. Afterwards Count holds the bytes not written, and the
    // written ones are in the sent log. When not all were written, "Ошибка передачи!"
    // is shown: at the end of the time limit (Count x 50 ms) when no port is open,
    // at once otherwise. The message comes from the event loop, never from inside
    // this call, so a sender inside the receive path is not held up by a modal box.
    void SendCommand();

private:
    void reportFailureAfter(int delayMs);

    CommandBuffer &m_buffer;
    TrafficLog &m_sentLog;
    OperatorMessages &m_messages;
    Clock &m_clock;
    CommandPort *m_port = nullptr;
};
