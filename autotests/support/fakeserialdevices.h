#pragma once

#include "link/serialdevices.h"

#include <QFileInfo>
#include <QMap>

// Serial devices as a test plays them: the ports the system lists, and the
// identities of devices by their real path (a link to a device has the device's).
class FakeSerialDevices final : public SerialDevices
{
public:
    QList<Port> ports() const override { return listed; }

    QString identityOf(const QString &devicePath) const override
    {
        return identities.value(QFileInfo(devicePath).canonicalFilePath());
    }

    QList<Port> listed;
    QMap<QString, QString> identities;
};
