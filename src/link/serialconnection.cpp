#include "link/serialconnection.h"

#include "link/clock.h"
#include "link/frameassembler.h"
#include "link/portnames.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

SerialConnection::SerialConnection(FrameAssembler &assembler, Clock &clock, QObject *parent)
    : QObject(parent)
    , m_assembler(assembler)
    , m_port(this)
    , m_reopenTimer(clock.createTimer(this))
{
    connect(&m_port, &QSerialPort::readyRead, this, &SerialConnection::onReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialConnection::onErrorOccurred);
    connect(m_reopenTimer.get(), &ClockTimer::timeout, this, &SerialConnection::tryReopen);
}

SerialConnection::~SerialConnection()
{
    StopReader();
}

bool SerialConnection::OpenPort(const QString &portName)
{
    closePort();
    m_portName = portName;
    m_lastError.clear();
    const QString devicePath = DevicePathOfPort(portName);
    if (portName.isEmpty()) {
        m_lastError = QStringLiteral("Порт не задан.");
        return false;
    }

    m_port.setPortName(devicePath);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_lastError = describeOpenFailure(devicePath);
        return false;
    }
    // Settings a driver refuses (a pseudo-terminal has no DTR or RTS) are not reported.
    m_port.setBaudRate(BaudRate);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(true);
    m_port.clear(QSerialPort::AllDirections);
    m_port.clearError();

    m_pendingBegin = m_pendingEnd = 0;
    m_reading = true;
    m_state = State::Open;
    return true;
}

void SerialConnection::StopReader()
{
    m_reading = false;
    m_pendingBegin = m_pendingEnd = 0;
}

void SerialConnection::closePort()
{
    m_reopenTimer->stop();
    StopReader();
    if (m_port.isOpen()) {
        m_port.close();
    }
    m_state = State::Closed;
}

long long SerialConnection::writeBytes(const std::uint8_t *data, long long size, int)
{
    if (!isOpen()) {
        return 0;
    }
    // The port buffers the bytes and the event loop writes them out; flush() hands
    // over what the driver takes now without waiting.
    const qint64 written = m_port.write(reinterpret_cast<const char *>(data), size);
    m_port.flush();
    return written < 0 ? 0 : written;
}

void SerialConnection::onReadyRead()
{
    if (m_reading) {
        drain();
    }
}

bool SerialConnection::refill()
{
    m_pendingBegin = 0;
    const qint64 n = m_port.read(
        reinterpret_cast<char *>(m_pending.data()), static_cast<qint64>(m_pending.size()));
    m_pendingEnd = n > 0 ? static_cast<int>(n) : 0;
    return m_pendingEnd > 0;
}

void SerialConnection::drain()
{
    if (m_draining) {
        return; // a handler further up the stack is running; it goes on with these bytes
    }
    m_draining = true;
    while (m_reading && (m_pendingBegin < m_pendingEnd || refill())) {
        m_assembler.HandleReceivedByte(m_pending[static_cast<std::size_t>(m_pendingBegin++)]);
    }
    m_draining = false;
}

void SerialConnection::onErrorOccurred(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError) {
        return;
    }
    // A hung-up device may raise this signal in a storm, with the port left open:
    // the first one counts, the close happens once, from the event loop.
    if (m_state != State::Open) {
        return;
    }
    m_state = State::Lost;
    StopReader();
    const QString message = QStringLiteral("Связь с портом %1 потеряна (%2). Порт закрыт; "
                                           "он будет открыт снова, когда появится.")
                                .arg(m_portName, m_port.errorString());
    QMetaObject::invokeMethod(this, &SerialConnection::closeLostPort, Qt::QueuedConnection);
    Q_EMIT connectionLost(message);
}

void SerialConnection::closeLostPort()
{
    if (m_state != State::Lost) {
        return;
    }
    m_port.close();
    m_reopenTimer->setSingleShot(false);
    m_reopenTimer->start(ReopenCheckMs);
}

void SerialConnection::tryReopen()
{
    if (m_state != State::Lost || !QFileInfo::exists(DevicePathOfPort(m_portName))) {
        return;
    }
    if (OpenPort(m_portName)) {
        Q_EMIT connectionRestored();
        return;
    }
    // Still not usable: keep watching.
    m_state = State::Lost;
    m_reopenTimer->start(ReopenCheckMs);
}

QString SerialConnection::describeOpenFailure(const QString &devicePath) const
{
    const QString platformText = m_port.errorString();
    QString reason;
    switch (m_port.error()) {
    case QSerialPort::DeviceNotFoundError:
        reason = QStringLiteral("Порт %1 не найден.").arg(m_portName);
        break;
    case QSerialPort::PermissionError: {
#ifdef Q_OS_UNIX
        // A lock held by another program is reported as a permission error too;
        // the device's own access rights tell the two apart.
        const QByteArray path = QFile::encodeName(devicePath);
        if (::access(path.constData(), R_OK | W_OK) == 0) {
            reason = QStringLiteral("Порт %1 занят другой программой.").arg(m_portName);
            break;
        }
        QString group = QStringLiteral("dialout");
        struct stat st
        {
        };
        if (::stat(path.constData(), &st) == 0) {
            if (const struct group *g = ::getgrgid(st.st_gid)) {
                group = QString::fromLocal8Bit(g->gr_name);
            }
        }
        reason = QStringLiteral("Нет прав на доступ к порту %1. Пользователя нужно включить в "
                                "группу %2.")
                     .arg(m_portName, group);
#else
        reason = QStringLiteral("Порт %1 занят другой программой или недоступен.").arg(m_portName);
#endif
        break;
    }
    default:
        reason = QStringLiteral("Не удалось открыть порт %1.").arg(m_portName);
        break;
    }
    return reason + QLatin1Char(' ') + platformText;
}
