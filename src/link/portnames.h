#pragma once

#include <QString>

// How the operator names a port and where the device lies: "ttyUSB0" is
// /dev/ttyUSB0, an absolute path such as /dev/pts/5 stands for itself.
QString DevicePathOfPort(const QString &portName);

// The name the program tries when no port was chosen yet.
QString DefaultPortName();

// A port as the "Выбор порта" menu lists it: "ttyUSB0 — FT232R USB UART", or the bare
// name when the system has no description.
QString PortCaption(const QString &name, const QString &description);
