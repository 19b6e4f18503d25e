#pragma once

#include <QString>
#include <QStringList>

// How the operator names a port and where the device lies: "ttyUSB0" is
// /dev/ttyUSB0, an absolute path such as /dev/pts/5 stands for itself.
QString DevicePathOfPort(const QString &portName);

// The name the program tries when no port was chosen yet.
QString DefaultPortName();

// The system's serial ports as the operator knows them (ttyS0, ttyUSB0, ttyACM0),
// in the order of their device names, compared without regard to case.
QStringList SystemSerialPorts();

// A menu caption turned back into a port name: only the accelerator "&" is dropped.
QString PortNameFromCaption(const QString &caption);
