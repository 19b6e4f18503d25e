#include "records/serverpresence.h"

#include "shared/clock.h"

#include <QList>

namespace {

QList<ServerPresence *> &presences()
{
    static QList<ServerPresence *> all;
    return all;
}

} // namespace

ServerPresence::ServerPresence(ServerAddress server, Clock &clock, QObject *parent)
    : QObject(parent)
    , m_server(std::move(server))
    , m_probe(clock)
    , m_nextProbe(clock.createTimer(this))
{
    m_nextProbe->setSingleShot(true);
    connect(m_nextProbe.get(), &ClockTimer::timeout, this, [this] { m_probe.start(m_server); });
    connect(&m_probe, &ServerProbe::finished, this, [this](bool reachable) {
        if (!reachable) {
            m_nextProbe->start(ProbeIntervalMs);
            return;
        }
        m_away = false;
        Q_EMIT returned();
    });
    presences().append(this);
}

ServerPresence::~ServerPresence()
{
    presences().removeOne(this);
}

ServerPresence *ServerPresence::of(const ServerAddress &server)
{
    const QList<ServerPresence *> &all = presences();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        if ((*it)->m_server.host == server.host && (*it)->m_server.port == server.port) {
            return *it;
        }
    }
    return nullptr;
}

void ServerPresence::markAway()
{
    if (m_away) {
        return;
    }
    // A connection just failed: the next look is worth taking only after a while.
    m_away = true;
    m_nextProbe->start(ProbeIntervalMs);
}
