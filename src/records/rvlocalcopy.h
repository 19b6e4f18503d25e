#pragma once

#include "link/attenuationlookup.h"
#include "records/databasetable.h"

#include <QObject>

#include <memory>

class Clock;
class ClockTimer;
class RvRegister;

// The PC's own copy of the register of locomotive radio stations, for a register
// kept on a server: the station's attenuation correction request is answered from
// it at once, whether the network answers or not. The copy (an SQLite file in the
// tables directory, so that it outlives the run) is refreshed from the server's
// register when asked (at start-up, after every change of the register) and on a
// timer; a refresh that fails leaves the copy as it was.
class RvLocalCopy final : public QObject, public AttenuationLookup
{
    Q_OBJECT
public:
    static constexpr int RefreshIntervalMs = 60000;

    RvLocalCopy(RvRegister &source, Clock &clock, QObject *parent = nullptr);
    ~RvLocalCopy() override;

    // Reads the server's register and makes the copy the same, in one transaction.
    // False with errorText() when either cannot be read or written.
    bool refresh();
    const QString &errorText() const { return m_error; }

    Result find(const QString &locoNumber) override;

private:
    RvRegister &m_source;
    DatabaseTable m_copy;
    std::unique_ptr<ClockTimer> m_timer;
    QString m_error;
};
