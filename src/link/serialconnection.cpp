#include "link/serialconnection.h"

#include "link/frameassembler.h"
#include "link/portaccess.h"
#include "link/portnames.h"
#include "link/serialdevices.h"
#include "shared/clock.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

SerialConnection::SerialConnection(
    FrameAssembler &assembler, Clock &clock, const SerialDevices &devices, QObject *parent)
    : QObject(parent)
    , m_assembler(assembler)
    , m_devices(devices)
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
        Q_EMIT stateChanged();
        return false;
    }

    m_port.setPortName(devicePath);
    if (!openDevice(devicePath)) {
        describeOpenFailure(devicePath);
        Q_EMIT stateChanged();
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

    m_identity = m_devices.identityOf(devicePath);
    m_pendingBegin = m_pendingEnd = 0;
    m_reading = true;
    m_state = State::Open;
    Q_EMIT stateChanged();
    return true;
}

bool SerialConnection::openDevice(const QString &devicePath)
{
    if (m_port.open(QIODevice::ReadWrite)) {
        return true;
    }
    // A lock file whose process is gone holds nothing: it is cleared, as serial
    // programs do, and the port tried once more.
    if (m_port.error() != QSerialPort::PermissionError) {
        return false;
    }
    const PortLockFile lock = FindPortLockFile(devicePath);
    return lock.holderGone() && QFile::remove(lock.path) && m_port.open(QIODevice::ReadWrite);
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
    const bool changed = m_state != State::Closed || !m_failure.isEmpty();
    m_state = State::Closed;
    m_failure.clear();
    if (changed) {
        Q_EMIT stateChanged();
    }
}

QString SerialConnection::statusText() const
{
    if (m_state == State::Open) {
        return QStringLiteral("Порт %1 открыт").arg(m_portName);
    }
    if (m_portName.isEmpty()) {
        return QStringLiteral("Порт не выбран");
    }
    if (!failed()) {
        return QStringLiteral("Порт закрыт");
    }
    return QStringLiteral("Нет связи с портом %1 (%2)").arg(m_portName, m_failure);
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
    m_failure = QStringLiteral("устройство отключено или не отвечает");
    m_lastError = QStringLiteral("Связь с портом %1 потеряна (%2). Порт закрыт; ")
                      .arg(m_portName, m_port.errorString())
        + (m_identity.isEmpty()
                ? QStringLiteral("выберите порт снова в меню «Порт».")
                : QStringLiteral("он будет открыт снова, когда это же устройство появится."));
    QMetaObject::invokeMethod(this, &SerialConnection::closeLostPort, Qt::QueuedConnection);
    Q_EMIT stateChanged();
    Q_EMIT connectionLost(m_lastError);
}

void SerialConnection::closeLostPort()
{
    if (m_state != State::Lost) {
        return;
    }
    m_port.close();
    // Only a device that can prove to be the same one is watched for.
    if (!m_identity.isEmpty()) {
        m_reopenTimer->setSingleShot(false);
        m_reopenTimer->start(ReopenCheckMs);
    }
}

void SerialConnection::tryReopen()
{
    const QString identity = m_identity;
    if (m_state != State::Lost || m_devices.identityOf(DevicePathOfPort(m_portName)) != identity) {
        return;
    }
    if (OpenPort(m_portName)) {
        Q_EMIT connectionRestored();
        return;
    }
    // Still not usable: keep watching for the same device.
    m_state = State::Lost;
    m_identity = identity;
    m_reopenTimer->start(ReopenCheckMs);
    Q_EMIT stateChanged();
}

void SerialConnection::describeOpenFailure(const QString &devicePath)
{
    const QString platformText = m_port.errorString();
    QString reason;
    QSerialPort::SerialPortError error = m_port.error();
#ifdef Q_OS_UNIX
    // The lock file is taken before the device is opened: a lock held elsewhere makes
    // a device that is not there look like one that may not be opened.
    if (error == QSerialPort::PermissionError
        && ::access(QFile::encodeName(devicePath).constData(), F_OK) != 0 && errno == ENOENT) {
        error = QSerialPort::DeviceNotFoundError;
    }
#endif
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        m_failure = QStringLiteral("устройство не найдено");
        reason = QStringLiteral("Порт %1 не найден.").arg(m_portName);
        break;
    case QSerialPort::PermissionError: {
#ifdef Q_OS_UNIX
        // A lock held by another program is reported as a permission error too;
        // the device's own access rights tell the two apart.
        if (::access(QFile::encodeName(devicePath).constData(), R_OK | W_OK) != 0) {
            m_failure = QStringLiteral("нет прав на доступ");
            reason = NoAccessAdviceFor(m_portName, devicePath);
            break;
        }
        const PortLockFile lock = FindPortLockFile(devicePath);
        if (lock.holderGone()) {
            m_failure = QStringLiteral("остался файл блокировки");
            reason = QStringLiteral("Порт %1 заблокирован файлом %2, который оставила "
                                    "завершившаяся программа (процесс %3); удалить этот файл "
                                    "не удалось. Удалите его.")
                         .arg(m_portName, lock.path)
                         .arg(lock.pid);
            break;
        }
        m_failure = QStringLiteral("порт занят другой программой");
        reason = lock.pid > 0 ? QStringLiteral("Порт %1 занят другой программой (процесс %2).")
                                    .arg(m_portName)
                                    .arg(lock.pid)
                              : QStringLiteral("Порт %1 занят другой программой.").arg(m_portName);
#else
        m_failure = QStringLiteral("порт занят или недоступен");
        reason = QStringLiteral("Порт %1 занят другой программой или недоступен.").arg(m_portName);
#endif
        break;
    }
    default:
        m_failure = platformText;
        // No cause of our own to name: the system's text is all there is.
        reason = QStringLiteral("Не удалось открыть порт %1. %2").arg(m_portName, platformText);
        break;
    }
    m_identity.clear();
    m_lastError = reason;
}
