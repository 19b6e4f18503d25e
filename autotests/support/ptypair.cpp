#include "ptypair.h"

#include <QDeadlineTimer>
#include <QTest>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

Pty::Pty()
{
    int slave = -1;
    char name[256] = {};
    if (::openpty(&m_master, &slave, name, nullptr, nullptr) != 0) {
        m_master = -1;
        return;
    }
    termios raw {};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    ::tcgetattr(m_master, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(m_master, TCSANOW, &raw);
    // The program opens the slave itself; this test side needs only the master.
    ::close(slave);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_slavePath = QString::fromLocal8Bit(name);
}

Pty::~Pty()
{
    close();
}

void Pty::write(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (m_master >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            break;
        }
        done += n;
    }
}

QByteArray Pty::readAvailable()
{
    QByteArray out;
    char chunk[512];
    while (m_master >= 0) {
        const ssize_t n = ::read(m_master, chunk, sizeof chunk);
        if (n <= 0) {
            break;
        }
        out.append(chunk, n);
    }
    return out;
}

QByteArray Pty::readAtLeast(int n, int timeoutMs)
{
    QByteArray out;
    QDeadlineTimer deadline(timeoutMs);
    while (out.size() < n && !deadline.hasExpired()) {
        QTest::qWait(5);
        out += readAvailable();
    }
    return out;
}

void Pty::close()
{
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}
