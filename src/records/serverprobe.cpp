#include "records/serverprobe.h"

#include "shared/clock.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <thread>

#include <netdb.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Where the PostgreSQL client looks for a server whose host is not named.
QString defaultHost()
{
    const QString host = qEnvironmentVariable("PGHOST");
    return host.isEmpty() ? QStringLiteral("/var/run/postgresql") : host;
}

} // namespace

struct ServerProbe::Lookup
{
    std::mutex mutex;
    ServerProbe *probe = nullptr; // null once the probe no longer waits for the answer
};

ServerProbe::ServerProbe(Clock &clock, QObject *parent)
    : QObject(parent)
    , m_timeout(clock.createTimer(this))
{
    m_timeout->setSingleShot(true);
    connect(m_timeout.get(), &ClockTimer::timeout, this, [this] { finish(false); });
}

ServerProbe::~ServerProbe()
{
    reset();
}

void ServerProbe::start(const ServerAddress &server)
{
    reset();
    m_running = true;
    m_timeout->start(TimeoutMs);
    const QString host = server.host.isEmpty() ? defaultHost() : server.host;
    if (host.contains(u',') || host.startsWith(u'@')) {
        // A list of hosts or an abstract socket: the connection itself must tell, at
        // the cost of one time limit per probe should none answer.
        finishLater(true);
        return;
    }
    if (host.startsWith(u'/')) {
        // The server's socket in that directory, named as the client names it.
        const QByteArray path
            = QFile::encodeName(host + QStringLiteral("/.s.PGSQL.%1").arg(server.port));
        sockaddr_un local {};
        local.sun_family = AF_UNIX;
        if (size_t(path.size()) >= sizeof local.sun_path) {
            finishLater(false);
            return;
        }
        std::memcpy(local.sun_path, path.constData(), size_t(path.size()));
        tryAddresses(
            { { AF_UNIX, QByteArray(reinterpret_cast<const char *>(&local), sizeof local) } });
        return;
    }
    const QByteArray name = host.toUtf8();
    const QByteArray service = QByteArray::number(server.port);
    addrinfo hints {};
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    addrinfo *found = nullptr;
    if (getaddrinfo(name.constData(), service.constData(), &hints, &found) == 0) {
        const QList<Address> addresses = collect(found);
        freeaddrinfo(found);
        tryAddresses(addresses);
        return;
    }
    lookUp(name, service);
}

QList<ServerProbe::Address> ServerProbe::collect(const addrinfo *found)
{
    QList<Address> addresses;
    for (const addrinfo *info = found; info; info = info->ai_next) {
        addresses.append({ info->ai_family,
            QByteArray(reinterpret_cast<const char *>(info->ai_addr), int(info->ai_addrlen)) });
    }
    return addresses;
}

void ServerProbe::lookUp(const QByteArray &host, const QByteArray &service)
{
    auto lookup = std::make_shared<Lookup>();
    lookup->probe = this;
    m_lookup = lookup;
    std::thread([lookup, host, service] {
        addrinfo hints {};
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_NUMERICSERV;
        addrinfo *found = nullptr;
        QList<Address> addresses;
        if (getaddrinfo(host.constData(), service.constData(), &hints, &found) == 0) {
            addresses = collect(found);
            freeaddrinfo(found);
        }
        // Under the lock the probe cannot go away before the answer is posted to it;
        // once posted, the answer goes with the probe should that be destroyed.
        const std::lock_guard lock(lookup->mutex);
        if (lookup->probe) {
            ServerProbe *probe = lookup->probe;
            QMetaObject::invokeMethod(
                probe,
                [probe, lookup, addresses] {
                    if (probe->m_lookup == lookup) {
                        probe->m_lookup.reset();
                        probe->tryAddresses(addresses);
                    }
                },
                Qt::QueuedConnection);
        }
    }).detach();
}

void ServerProbe::tryAddresses(const QList<Address> &addresses)
{
    m_addresses = addresses;
    tryNext();
}

void ServerProbe::tryNext()
{
    dropSocket();
    while (!m_addresses.isEmpty()) {
        const Address address = m_addresses.takeFirst();
        m_socket = ::socket(address.family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (m_socket < 0) {
            continue;
        }
        if (::connect(m_socket, reinterpret_cast<const sockaddr *>(address.sockaddr.constData()),
                socklen_t(address.sockaddr.size()))
            == 0) {
            finishLater(true);
            return;
        }
        if (errno == EINPROGRESS) {
            m_notifier = new QSocketNotifier(qintptr(m_socket), QSocketNotifier::Write, this);
            connect(m_notifier, &QSocketNotifier::activated, this, &ServerProbe::connectDone);
            return;
        }
        // Refused, no route, or (a Unix socket) no room in the backlog: the next one.
        dropSocket();
    }
    finishLater(false);
}

void ServerProbe::connectDone()
{
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(m_socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
        error = errno;
    }
    if (error == 0) {
        finish(true);
    } else {
        tryNext();
    }
}

void ServerProbe::finishLater(bool reachable)
{
    QMetaObject::invokeMethod(
        this,
        [this, generation = m_generation, reachable] {
            if (generation == m_generation && m_running) {
                finish(reachable);
            }
        },
        Qt::QueuedConnection);
}

void ServerProbe::finish(bool reachable)
{
    reset();
    Q_EMIT finished(reachable);
}

void ServerProbe::reset()
{
    ++m_generation;
    m_running = false;
    m_timeout->stop();
    m_addresses.clear();
    dropSocket();
    if (m_lookup) {
        const std::lock_guard lock(m_lookup->mutex);
        m_lookup->probe = nullptr;
    }
    m_lookup.reset();
}

void ServerProbe::dropSocket()
{
    if (m_notifier) {
        // Possibly within its own signal: it goes once that has returned.
        m_notifier->setEnabled(false);
        m_notifier->deleteLater();
        m_notifier = nullptr;
    }
    if (m_socket >= 0) {
        ::close(m_socket);
        m_socket = -1;
    }
}
