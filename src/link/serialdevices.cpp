#include "link/serialdevices.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>

QList<SerialDevices::Port> SystemSerialDevices::ports() const
{
    QList<QSerialPortInfo> found = QSerialPortInfo::availablePorts();
    std::sort(found.begin(), found.end(), [](const QSerialPortInfo &a, const QSerialPortInfo &b) {
        return a.systemLocation().compare(b.systemLocation(), Qt::CaseInsensitive) < 0;
    });
    QList<Port> ports;
    for (const QSerialPortInfo &info : std::as_const(found)) {
        ports.append({ info.portName(), info.description() });
    }
    return ports;
}

QString SystemSerialDevices::identityOf(const QString &devicePath) const
{
    const QString device = QFileInfo(devicePath).canonicalFilePath();
    if (device.isEmpty()) {
        return {};
    }
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        if (info.systemLocation() != device) {
            continue;
        }
        // Without a serial number two adapters of one make look alike.
        if (!info.hasVendorIdentifier() || !info.hasProductIdentifier()
            || info.serialNumber().isEmpty()) {
            return {};
        }
        return QStringLiteral("%1:%2:%3")
            .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
            .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'))
            .arg(info.serialNumber());
    }
    return {};
}
