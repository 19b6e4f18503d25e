#pragma once

#include "records/databaselocation.h"

#include <QByteArray>
#include <QList>
#include <QObject>

#include <memory>

class Clock;
class ClockTimer;
class QSocketNotifier;
struct addrinfo;

// Asks, without waiting, whether a server accepts connections: a non-blocking
// connect to its host and port (or to its Unix socket, for a host that is a
// directory), watched by the event loop. No statement is sent and nothing logs in,
// so a host that drops every packet costs the program nothing but the time limit,
// which runs on the Clock. A host name is looked up on a thread of its own, as a
// name server that does not answer would otherwise hold the event loop. A list of
// hosts, or an abstract socket, is left for the connection to try: it counts as
// reachable.
class ServerProbe : public QObject
{
    Q_OBJECT
public:
    static constexpr int TimeoutMs = 3000;

    explicit ServerProbe(Clock &clock, QObject *parent = nullptr);
    ~ServerProbe() override;

    // Starts a probe of the server, dropping one that still runs; finished() tells
    // the outcome from the event loop, never from within this call.
    void start(const ServerAddress &server);
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    // The server accepted a connection (reachable), or refused, could not be found
    // or gave no answer within TimeoutMs.
    void finished(bool reachable);

private:
    // One socket address to try: a sockaddr of the family, as bytes.
    struct Address
    {
        int family = 0;
        QByteArray sockaddr;
    };
    struct Lookup; // a name being looked up, shared with its thread

    static QList<Address> collect(const addrinfo *found);
    void lookUp(const QByteArray &host, const QByteArray &service);
    void tryAddresses(const QList<Address> &addresses);
    void tryNext();
    void connectDone();
    void finishLater(bool reachable);
    void finish(bool reachable);
    void reset();
    void dropSocket();

    std::unique_ptr<ClockTimer> m_timeout;
    QSocketNotifier *m_notifier = nullptr;
    std::shared_ptr<Lookup> m_lookup;
    QList<Address> m_addresses;
    int m_socket = -1;
    // Counts the probes, so that an outcome queued for one that was dropped is not
    // taken for the next one's.
    quint64 m_generation = 0;
    bool m_running = false;
};
