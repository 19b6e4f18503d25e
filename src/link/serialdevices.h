#pragma once

#include <QList>
#include <QString>

// What the system knows about its serial devices: the ports it reports, and what
// tells one device apart from another. Behind an interface so that tests can play
// adapters that come and go.
class SerialDevices
{
public:
    struct Port
    {
        QString name; // as the operator knows it: ttyS0, ttyUSB0
        QString description; // such as "FT232R USB UART"; may be empty
    };

    virtual ~SerialDevices() = default;

    // The system's serial ports in the order of their device names, compared
    // without regard to case.
    virtual QList<Port> ports() const = 0;

    // The identity of the device at the path (a link is followed): for a USB adapter
    // its vendor, product and serial number. Empty when the device has no identity
    // that survives unplugging (a built-in port, a pseudo-terminal, an adapter
    // without a serial number) or is not there.
    virtual QString identityOf(const QString &devicePath) const = 0;
};

// The devices as the system reports them now.
class SystemSerialDevices final : public SerialDevices
{
public:
    QList<Port> ports() const override;
    QString identityOf(const QString &devicePath) const override;
};
