#include "records/rvlocalcopy.h"

#include "records/rvregister.h"
#include "records/serverpresence.h"
#include "shared/clock.h"

#include <algorithm>

RvLocalCopy::RvLocalCopy(RvRegister &source, Clock &clock, QObject *parent)
    : QObject(parent)
    , m_source(source)
    , m_copy(DatabaseLocation(source.table().location().directory), RvCopySchema())
    , m_timer(clock.createTimer(this))
{
    connect(m_timer.get(), &ClockTimer::timeout, this, [this] { refresh(); });
    // A server that was away is read as soon as it is back, not at the next minute.
    if (ServerPresence *presence = ServerPresence::of(source.table().location().server)) {
        connect(presence, &ServerPresence::returned, this, [this] { refresh(); });
    }
    m_timer->start(RefreshIntervalMs);
}

RvLocalCopy::~RvLocalCopy() = default;

bool RvLocalCopy::refresh()
{
    QList<TableRow> rows;
    QList<TableRow> copied;
    // A register the server could not give at start-up is opened when it can.
    if (!m_source.table().isOpen() && !m_source.open()) {
        m_error = m_source.errorText();
        return false;
    }
    if (!m_source.table().readAll(&rows)) {
        m_error = m_source.table().errorText();
        return false;
    }
    if (!(m_copy.isOpen() || m_copy.open(DatabaseTable::OpenMode::OpenOrCreate))
        || !m_copy.readAll(&copied)) {
        m_error = m_copy.errorText();
        return false;
    }
    const auto sameValues = [](const TableRow &a, const TableRow &b) { return a.values == b.values; };
    if (std::equal(rows.begin(), rows.end(), copied.begin(), copied.end(), sameValues)) {
        return true;
    }
    // All or nothing: a copy half written would answer for some locomotives only.
    bool ok = m_copy.beginTransaction();
    for (qsizetype i = 0; ok && i < copied.size(); ++i) {
        ok = m_copy.deleteRow(copied.at(i).rowid);
    }
    for (qsizetype i = 0; ok && i < rows.size(); ++i) {
        ok = m_copy.append(rows.at(i).values);
    }
    if (ok && m_copy.commit()) {
        return true;
    }
    m_error = m_copy.errorText();
    m_copy.rollback();
    return false;
}

AttenuationLookup::Result RvLocalCopy::find(const QString &locoNumber)
{
    if (!m_copy.isOpen() && !m_copy.open(DatabaseTable::OpenMode::ExistingOnly)) {
        return { Outcome::Unreadable, {} };
    }
    return FindCorrections(m_copy, locoNumber);
}
