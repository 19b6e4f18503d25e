#include "link/portnames.h"

#include <QSerialPortInfo>

#include <algorithm>

QString DevicePathOfPort(const QString &portName)
{
    if (portName.startsWith(QLatin1Char('/'))) {
        return portName;
    }
    return QStringLiteral("/dev/") + portName;
}

QString DefaultPortName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM1");
#else
    return QStringLiteral("ttyS0");
#endif
}

QStringList SystemSerialPorts()
{
    QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    std::sort(ports.begin(), ports.end(), [](const QSerialPortInfo &a, const QSerialPortInfo &b) {
        return a.systemLocation().compare(b.systemLocation(), Qt::CaseInsensitive) < 0;
    });
    QStringList names;
    for (const QSerialPortInfo &port : ports) {
        names.append(port.portName());
    }
    return names;
}

QString PortNameFromCaption(const QString &caption)
{
    QString name = caption;
    return name.remove(QLatin1Char('&'));
}
