#include "locallistener.h"

#include <QFile>

#include <utility>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

sockaddr_in loopback(int port)
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(quint16(port));
    return address;
}

} // namespace

LocalListener::LocalListener(int fd)
    : m_fd(fd)
{
    // accept never waits: a count of none is an answer.
    ::fcntl(m_fd, F_SETFL, O_NONBLOCK);
}

LocalListener::LocalListener(LocalListener &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
    , m_port(other.m_port)
    , m_path(std::exchange(other.m_path, {}))
    , m_fillers(std::exchange(other.m_fillers, {}))
{ }

LocalListener::~LocalListener()
{
    for (int filler : std::as_const(m_fillers)) {
        ::close(filler);
    }
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    if (!m_path.isEmpty()) {
        ::unlink(m_path.constData());
    }
}

LocalListener LocalListener::tcp()
{
    LocalListener listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    if (::bind(listener.m_fd, reinterpret_cast<sockaddr *>(&address), length) == 0
        && ::getsockname(listener.m_fd, reinterpret_cast<sockaddr *>(&address), &length) == 0) {
        listener.m_port = ntohs(address.sin_port);
    }
    return listener;
}

LocalListener LocalListener::unixSocket(const QString &path)
{
    LocalListener listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    listener.m_path = QFile::encodeName(path);
    ::unlink(listener.m_path.constData());
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, listener.m_path.constData(), sizeof address.sun_path);
    if (::bind(listener.m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0) {
        listener.listen(8);
    }
    return listener;
}

bool LocalListener::listen(int backlog)
{
    return ::listen(m_fd, backlog) == 0;
}

bool LocalListener::listenFull()
{
    if (!listen(0)) {
        return false;
    }
    // A backlog of 0 still holds one connection; the second fills it for sure.
    for (int i = 0; i < 2; ++i) {
        const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        const sockaddr_in address = loopback(m_port);
        ::connect(filler, reinterpret_cast<const sockaddr *>(&address), sizeof address);
        m_fillers.append(filler);
    }
    return true;
}

int LocalListener::takeConnections()
{
    int count = 0;
    for (int client; (client = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK)) >= 0;) {
        ::close(client);
        ++count;
    }
    return count;
}
