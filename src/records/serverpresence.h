#pragma once

#include "records/databaselocation.h"
#include "records/serverprobe.h"

#include <QObject>

#include <memory>

class Clock;
class ClockTimer;

// Whether the tables' server answers, as far as this run knows: the one owner of
// "the server is away". A connection that a DatabaseTable could not make marks it
// away; from then on no table connects to it (each refuses at once, as unreachable)
// and a ServerProbe asks every ProbeIntervalMs, without waiting, whether it accepts
// connections again. The first probe that finds it does ends the absence, and
// returned() tells the outbox to send and the register's copy to refresh. So a host
// that drops every packet holds the window up once, not at every result.
//
// One presence per server for the run, made before any of its tables is used;
// tables, the outbox and the register's copy find it by the server's host and port
// (of()). Where there is none (a table on its own, the database dialog's check),
// every call connects as asked.
class ServerPresence : public QObject
{
    Q_OBJECT
public:
    static constexpr int ProbeIntervalMs = 10000;

    ServerPresence(ServerAddress server, Clock &clock, QObject *parent = nullptr);
    ~ServerPresence() override;

    // The presence kept for the server's host and port, if any.
    static ServerPresence *of(const ServerAddress &server);

    bool isAway() const { return m_away; }
    // A connection to the server could not be made: nothing connects until a probe
    // finds it accepting connections.
    void markAway();

Q_SIGNALS:
    // A probe found the server accepting connections after it was away.
    void returned();

private:
    ServerAddress m_server;
    ServerProbe m_probe;
    std::unique_ptr<ClockTimer> m_nextProbe;
    bool m_away = false;
};
