#pragma once

#include <QString>

// Why a serial device cannot be opened, told so that the operator can act on it.

// The lock file that serial programs keep beside a port they hold ("LCK.." and the
// device's name in the system's lock directory).
struct PortLockFile
{
    QString path; // empty when there is none
    qint64 pid = 0; // the holder as the file names it; 0 when unreadable

    // The file names a process that no longer exists: nothing holds the port.
    bool holderGone() const;
};

// The lock file of the device, where serial programs look for it.
PortLockFile FindPortLockFile(const QString &devicePath);

// Where the lock file of the device lies or would lie; empty without a lock directory.
QString PortLockFilePath(const QString &devicePath);

// The advice for a device the user may not open. A group is named only when its
// members may read and write the device; otherwise only the owner can open it.
// mode holds the device's permission bits as stat gives them.
QString NoAccessAdvice(
    const QString &portName, unsigned mode, const QString &owner, const QString &group);

// The same for the device at the path, from its owner, group and permission bits.
QString NoAccessAdviceFor(const QString &portName, const QString &devicePath);
