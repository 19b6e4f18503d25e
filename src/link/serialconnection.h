#pragma once

#include "link/commandport.h"

#include <QObject>
#include <QSerialPort>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>

class Clock;
class ClockTimer;
class FrameAssembler;

// The connection to the station: one serial port at 1200 baud, 8N1, DTR and RTS on,
// used asynchronously on the GUI thread. Received bytes are handed to the frame
// assembly one at a time and strictly in order, also when a handler opens a modal
// box and the event loop runs inside it: bytes that arrive meanwhile wait in a
// fixed ring until the handler has returned.
//
// A port that fails while open (adapter unplugged, far end of a pseudo-terminal
// closed) is closed once, reported once, and reopened as soon as its device is back.
class SerialConnection : public QObject, public CommandPort
{
    Q_OBJECT
public:
    static constexpr int BaudRate = 1200;
    static constexpr int ReopenCheckMs = 1000;

    SerialConnection(FrameAssembler &assembler, Clock &clock, QObject *parent = nullptr);
    ~SerialConnection() override;

    // Opens and configures the port (a name such as ttyUSB0 or an absolute device
    // path), purges both directions and starts handing received bytes on. On failure
    // lastError() explains why, in Russian, followed by the platform's text.
    bool OpenPort(const QString &portName);

    // Halts the reception at once: no further byte is handed on after it returns.
    void StopReader();

    // StopReader, then closes the port. Does nothing when no port is open.
    void closePort();

    bool isOpen() const override { return m_state == State::Open; }
    long long writeBytes(const std::uint8_t *data, long long size, int timeLimitMs) override;

    QString lastError() const { return m_lastError; }
    QString portName() const { return m_portName; }

Q_SIGNALS:
    // The open port failed; it has been closed and is watched for its return.
    void connectionLost(const QString &message);
    // The lost port was opened again.
    void connectionRestored();

private:
    enum class State { Closed, Open, Lost };

    void onReadyRead();
    void onErrorOccurred(QSerialPort::SerialPortError error);
    void closeLostPort();
    void tryReopen();
    void drain();
    bool refill();
    QString describeOpenFailure(const QString &devicePath) const;

    FrameAssembler &m_assembler;
    QSerialPort m_port;
    std::unique_ptr<ClockTimer> m_reopenTimer;
    State m_state = State::Closed;
    QString m_portName;
    QString m_lastError;
    bool m_reading = false;
    bool m_draining = false;

    // Bytes read from the port and not yet handed on.
    std::array<std::uint8_t, 4096> m_pending {};
    int m_pendingBegin = 0;
    int m_pendingEnd = 0;
};
