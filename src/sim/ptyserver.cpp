#include "sim/ptyserver.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

QString SystemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(
        QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

PtyServer::PtyServer(QObject *parent)
    : QObject(parent)
{ }

PtyServer::~PtyServer()
{
    if (m_closeWatch >= 0) {
        ::close(m_closeWatch);
    }
    if (m_slave >= 0) {
        ::close(m_slave);
    }
    if (m_master >= 0) {
        ::close(m_master);
    }
}

bool PtyServer::open(QString *error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0) {
        *error = SystemError("posix_openpt");
        return false;
    }
    char name[128];
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0
        || ::ptsname_r(m_master, name, sizeof name) != 0) {
        *error = SystemError("ptsname");
        return false;
    }
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0) {
        *error = SystemError(name);
        return false;
    }
    termios settings {};
    if (::tcgetattr(m_slave, &settings) != 0) {
        *error = SystemError("tcgetattr");
        return false;
    }
    ::cfmakeraw(&settings);
    ::cfsetspeed(&settings, B1200);
    if (::tcsetattr(m_slave, TCSANOW, &settings) != 0) {
        *error = SystemError("tcsetattr");
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);

    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PtyServer::readMaster);

    // Without the watch the line works all the same; only a crashed program's
    // exclusive mode stays.
    m_closeWatch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_closeWatch >= 0 && ::inotify_add_watch(m_closeWatch, name, IN_CLOSE) >= 0) {
        auto *watch = new QSocketNotifier(m_closeWatch, QSocketNotifier::Read, this);
        connect(watch, &QSocketNotifier::activated, this, &PtyServer::slaveClosed);
    }
    return true;
}

void PtyServer::slaveClosed()
{
    char events[4096];
    while (::read(m_closeWatch, events, sizeof events) > 0) { }
    ::ioctl(m_slave, TIOCNXCL);
}

void PtyServer::write(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n
            = ::write(m_master, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return; // EAGAIN: the line's queue is full
        }
        done += n;
    }
}

void PtyServer::readMaster()
{
    char buffer[512];
    QByteArray bytes;
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        break; // EAGAIN: all read
    }
    if (!bytes.isEmpty()) {
        Q_EMIT received(bytes);
    }
}
