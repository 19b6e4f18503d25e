#include "sim/stdinreader.h"

#include <QSocketNotifier>
#include <QString>

#include <cerrno>
#include <unistd.h>
#include <utility>

StdinReader::StdinReader(int fd, QObject *parent)
    : QObject(parent)
    , m_fd(fd)
    , m_notifier(new QSocketNotifier(fd, QSocketNotifier::Read, this))
{
    connect(m_notifier, &QSocketNotifier::activated, this, &StdinReader::readAvailable);
}

void StdinReader::readAvailable()
{
    char buffer[256];
    const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
        return;
    }
    if (n <= 0) {
        m_notifier->setEnabled(false);
        if (!m_partial.isEmpty()) {
            Q_EMIT lineRead(QString::fromUtf8(std::exchange(m_partial, {})));
        }
        return;
    }
    m_partial.append(buffer, n);
    qsizetype end;
    while ((end = m_partial.indexOf('\n')) >= 0) {
        const QByteArray line = m_partial.left(end);
        m_partial.remove(0, end + 1);
        Q_EMIT lineRead(QString::fromUtf8(line).trimmed());
    }
}
