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
class SerialDevices;

// The connection to the station: one serial port at 1200 baud, 8N1, DTR and RTS on,
// used asynchronously on the GUI thread. Received bytes are handed to the frame
// assembly one at a time and strictly in order, also when a handler opens a modal
// box and the event loop runs inside it: bytes that arrive meanwhile wait in a
// fixed ring until the handler has returned.
//
// A port that fails while open (adapter unplugged, far end of a pseudo-terminal
// closed) is closed once and reported once. It is opened again by itself only when
// the very device that was lost comes back (the same adapter identity): a name that
// another device or another program's pseudo-terminal takes over is never opened.
class SerialConnection : public QObject, public CommandPort
{
    Q_OBJECT
public:
    static constexpr int BaudRate = 1200;
    static constexpr int ReopenCheckMs = 1000;

    SerialConnection(FrameAssembler &assembler, Clock &clock, const SerialDevices &devices,
        QObject *parent = nullptr);
    ~SerialConnection() override;

    // Opens and configures the port (a name such as ttyUSB0 or an absolute device
    // path), purges both directions and starts handing received bytes on. On failure
    // lastError() explains why, in Russian, followed by the platform's text.
    bool OpenPort(const QString &portName);

    // Halts the reception at once: no further byte is handed on after it returns.
    void StopReader();

    // StopReader, then closes the port and stops watching for a lost one.
    void closePort();

    bool isOpen() const override { return m_state == State::Open; }
    long long writeBytes(const std::uint8_t *data, long long size, int timeLimitMs) override;

    QString lastError() const { return m_lastError; }
    QString portName() const { return m_portName; }

    // The port and its state in a few words: "Порт ttyUSB0 открыт", "Порт закрыт",
    // "Порт не выбран", or "Нет связи с портом …" with the reason.
    QString statusText() const;
    // There is no connection to the port for a reason other than the operator's choice;
    // lastError() tells it in full.
    bool failed() const
    {
        return m_state != State::Open && !m_portName.isEmpty() && !m_failure.isEmpty();
    }

Q_SIGNALS:
    // The open port failed and has been closed.
    void connectionLost(const QString &message);
    // The lost device came back and was opened again.
    void connectionRestored();
    // statusText() may have changed.
    void stateChanged();

private:
    enum class State { Closed, Open, Lost };

    void onReadyRead();
    void onErrorOccurred(QSerialPort::SerialPortError error);
    void closeLostPort();
    void tryReopen();
    void drain();
    bool refill();
    bool openDevice(const QString &devicePath);
    void describeOpenFailure(const QString &devicePath);

    FrameAssembler &m_assembler;
    const SerialDevices &m_devices;
    QSerialPort m_port;
    std::unique_ptr<ClockTimer> m_reopenTimer;
    State m_state = State::Closed;
    QString m_portName;
    QString m_lastError;
    QString m_failure; // why there is no connection, in a few words; empty when closed on purpose
    QString m_identity; // of the device open or lost; empty when it has none
    bool m_reading = false;
    bool m_draining = false;

    // Bytes read from the port and not yet handed on.
    std::array<std::uint8_t, 4096> m_pending {};
    int m_pendingBegin = 0;
    int m_pendingEnd = 0;
};
