#include "link/portnames.h"

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

QString PortCaption(const QString &name, const QString &description)
{
    return description.isEmpty() ? name : name + QStringLiteral(" — ") + description;
}
