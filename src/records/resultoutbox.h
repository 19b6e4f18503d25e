#pragma once

#include "records/databaselocation.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>

#include <memory>

class Clock;
class ClockTimer;
class ServerPresence;
struct TableSchema;

// Writes result rows (and keeps factory numbers) so that none is lost when the network is. On SQLite files a
// row is simply appended. On a server a row that cannot reach it, because the
// server does not answer, is kept in the PC's outbox (Outbox.db in the tables
// directory) and sent later, oldest first: on a retry timer and before every new
// row, so that a new result never overtakes the kept ones, and at once when the
// server's presence (ServerPresence) finds it back; while that holds the server
// away, nothing connects. A row the table itself refuses is not kept: that is an
// error for the operator.
//
// Exactly once: every row carries a receipt (a UUID) that the server notes in the
// same transaction as the row (DatabaseTable::appendOnce). A row is deleted from the
// outbox only after the server committed it; should the program stop in between,
// or the commit's answer be lost, the row is sent again and the server, finding its
// receipt, writes nothing.
class ResultOutbox : public QObject
{
    Q_OBJECT
public:
    static constexpr int RetryIntervalMs = 30000;

    enum class Delivery {
        Written, // in its table
        Kept, // in the outbox, to be sent when the server answers
        Failed, // neither: errorText() says why
    };

    ResultOutbox(DatabaseLocation database, Clock &clock, QObject *parent = nullptr);
    ~ResultOutbox() override;

    Delivery deliver(const TableSchema &schema, const QVariantList &values);
    const QString &errorText() const { return m_error; }
    const DatabaseLocation &database() const { return m_database; }

    // Keeps a row that its owner could not write because the server did not answer
    // (a set of factory numbers: a row whose key is there already is updated, see
    // DatabaseTable::appendOnce). False with errorText() when the outbox fails.
    bool keep(const TableSchema &schema, const QVariantList &values);

    // Sends the kept rows, oldest first, until one fails; true when none is left.
    bool sendKept();
    // The rows kept on this PC.
    int keptRows() const { return m_kept; }

    static QString keptText();
    static QString passedOnText(int rows);

Q_SIGNALS:
    // A line for the operator's grid: a row kept, kept rows passed on, or why kept
    // rows cannot be passed on.
    void notice(const QString &text);

private:
    bool keep(const TableSchema &schema, const QVariantList &values, const QString &receipt);
    int countKept();

    DatabaseLocation m_database;
    DatabaseLocation m_local; // the PC's own directory, for the outbox file
    // The server's presence, when the run keeps one: while it is away nothing is
    // sent, and its return sends the kept rows.
    QPointer<ServerPresence> m_presence;
    std::unique_ptr<ClockTimer> m_retry;
    int m_kept = 0;
    QString m_error;
    QString m_lastRefusal; // told once, not at every retry
};
