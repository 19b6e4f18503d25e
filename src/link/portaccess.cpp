#include "link/portaccess.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#endif

namespace {

// The directories the serial port layer of the toolkit searches, in its order: the
// first that can be read and holds the file or can be written is used.
const char *const LockDirectories[] = { "/var/lock", "/etc/locks", "/var/spool/locks",
    "/var/spool/uucp", "/tmp", "/var/tmp", "/var/lock/lockdev", "/run/lock" };

} // namespace

QString PortLockFilePath(const QString &devicePath)
{
    QString name = devicePath.startsWith(QLatin1String("/dev/")) ? devicePath.mid(5) : devicePath;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.prepend(QLatin1String("/LCK.."));
    for (const char *directory : LockDirectories) {
        const QString dir = QString::fromLatin1(directory);
        const QFileInfo info(dir);
        if (info.isReadable() && (QFile::exists(dir + name) || info.isWritable())) {
            return dir + name;
        }
    }
    return {};
}

PortLockFile FindPortLockFile(const QString &devicePath)
{
    PortLockFile lock;
    const QString path = PortLockFilePath(devicePath);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return lock;
    }
    lock.path = path;
    // The holder's process number leads the file, as text, in every format in use.
    bool ok = false;
    const qint64 pid = file.readLine(64).trimmed().toLongLong(&ok);
    lock.pid = ok && pid > 0 ? pid : 0;
    return lock;
}

bool PortLockFile::holderGone() const
{
#ifdef Q_OS_UNIX
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
#else
    return false;
#endif
}

QString NoAccessAdvice(
    const QString &portName, unsigned mode, const QString &owner, const QString &group)
{
#ifdef Q_OS_UNIX
    if ((mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP)) {
        return QStringLiteral("Нет прав на доступ к порту %1. Пользователя нужно включить в "
                              "группу %2.")
            .arg(portName, group);
    }
#else
    Q_UNUSED(mode);
    Q_UNUSED(group);
#endif
    return QStringLiteral("Нет прав на доступ к порту %1: открыть его может только владелец "
                          "устройства (%2).")
        .arg(portName, owner);
}

QString NoAccessAdviceFor(const QString &portName, const QString &devicePath)
{
#ifdef Q_OS_UNIX
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(devicePath).constData(), &st) == 0) {
        const struct passwd *user = ::getpwuid(st.st_uid);
        const struct group *group = ::getgrgid(st.st_gid);
        return NoAccessAdvice(portName, st.st_mode,
            user ? QString::fromLocal8Bit(user->pw_name) : QString::number(st.st_uid),
            group ? QString::fromLocal8Bit(group->gr_name) : QString::number(st.st_gid));
    }
#endif
    return QStringLiteral("Нет прав на доступ к порту %1.").arg(portName);
}
