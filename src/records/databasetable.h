#pragma once

#include "records/databaselocation.h"
#include "records/tableschema.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariantList>

#include <functional>
#include <memory>
#include <optional>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;

// Which rows a query reads: the rows whose Date lies in the range, both days
// inclusive; an absent bound does not restrict. For tables with a Date field.
struct RowFilter
{
    std::optional<QDate> fromDay;
    std::optional<QDate> toDay;
};

struct TableRow
{
    qint64 rowid = 0;
    QVariantList values; // as stored, in field order
};

// One table kept in its own SQLite file, reached through Qt's SQLite driver, or in a
// PostgreSQL database shared by several stations, reached through Qt's PostgreSQL
// driver. On the server the table has the same fields in the same order, followed by
// a hidden identity column named rowid, so that statements written for SQLite's
// rowid read the same on both engines; values read come back in their stored forms
// on both (dates and times as text).
//
// Opening never damages what is there: a file that is neither empty nor an SQLite
// database, whose table has another layout, or that holds triggers, is refused and
// left untouched. A table that this process may not write (the file or its
// directory) is opened for reading only; changes are then refused with a text.
// Every change is one transaction that is on disk when the call returns (WAL
// journal, synchronous FULL), and every statement is finished before the call
// returns, so that a second connection to the file (a browser beside the
// recorder) is never kept waiting. Waits for another connection's lock end after
// BusyTimeoutMs with an error.
//
// Failures are returned as false with errorText(); nothing here talks to the operator.
// Tables are used from the main thread only.
class DatabaseTable
{
public:
    enum class OpenMode { ExistingOnly, OpenOrCreate };

    static constexpr int BusyTimeoutMs = 500;
    static constexpr int ServerConnectTimeoutS = 3;

    DatabaseTable(DatabaseLocation location, const TableSchema &schema);
    ~DatabaseTable();
    DatabaseTable(const DatabaseTable &) = delete;
    DatabaseTable &operator=(const DatabaseTable &) = delete;

    // Opens the table; with OpenOrCreate a missing file, or an empty one, is given
    // the table, empty. A table that exists is never re-created.
    bool open(OpenMode mode);
    // Closes the table; false with errorText() when the engine could not close it
    // cleanly (the table is closed all the same).
    bool close();
    bool isOpen() const { return !m_connection.isEmpty(); }
    // Open for reading only, as the file or its directory cannot be written.
    bool isReadOnly() const { return isOpen() && m_readOnly; }

    const TableSchema &schema() const { return m_schema; }
    const DatabaseLocation &location() const { return m_location; }
    // The table's file; on a server, the table's name there.
    // The Qt driver the open table is reached through; empty while closed. Queries
    // that need an engine's own date functions choose them by it.
    QString driverName() const;
    QString filePath() const;
    // The last failure in Russian: what was being done with which table file, and
    // after it the engine's own text where that says more.
    const QString &errorText() const { return m_error; }
    // The last failed insert or update met another row with the same key.
    bool keyViolation() const { return m_keyViolation; }
    // The last failure was the server not answering (no connection, or the
    // connection broken), not the table refusing: the same change may succeed once
    // the server answers again. The next call connects anew; a read that fails on a
    // connection the server dropped is run once more on a new one at once, and a
    // change first finds such a connection with a read. Within a transaction
    // (beginTransaction) nothing connects anew: the transaction's changes are gone,
    // and every call up to commit(), which fails, says so.
    bool serverUnreachable() const { return m_unreachable; }

    // Appends one row: one value per field, in field order (see ToStoredValue).
    bool append(const QVariantList &values);

    // On a server: appends the row and notes its receipt (a unique id the caller
    // gives the row) in one transaction. A receipt the server holds already means
    // the row was written before: nothing is written and *alreadyThere is set. So a
    // row sent again after an answer that never came is never there twice. With
    // updatedOnKey, a row whose key the table has already updates those fields of
    // that row instead of being refused. On SQLite the same as append.
    bool appendOnce(const QVariantList &values, const QString &receipt, bool *alreadyThere,
        const QStringList &updatedOnKey = {});

    // Rows that pass the filter, or -1 on failure.
    qint64 rowCount(const RowFilter &filter = {});

    // Up to limit rows that pass the filter, with a rowid above afterRowid, in
    // rowid order (the order of appending).
    bool readPage(const RowFilter &filter, qint64 afterRowid, int limit, QList<TableRow> *rows);

    bool deleteRow(qint64 rowid);

    // Deletes the rows in one transaction: all of them, or none when one fails.
    // Rowids that no row has are passed over.
    bool deleteRows(const QList<qint64> &rowids);

    // Every row, in the order of the primary key (of appending when there is none).
    bool readAll(QList<TableRow> *rows);

    // Inserts one row (values as for append) and gives its rowid. A key that another
    // row has is refused (keyViolation()), as is an empty required field.
    bool insert(const QVariantList &values, qint64 *rowid);

    // Replaces every value of the row; refusals as for insert.
    bool update(qint64 rowid, const QVariantList &values);

    // The column that holds a row's identity, and the identity followed by every
    // field in field order, as a select list.
    QString rowIdColumn() const;
    QString rowColumns() const;

    // Runs reads that all see one state of the table, whatever other connections
    // change meanwhile; false when reads does or the engine fails.
    bool readConsistently(const std::function<bool()> &reads);

    // Makes the changes that follow one transaction, which commit() writes at once
    // and rollback() drops (many rows at a time, as an import brings them).
    bool beginTransaction();
    bool commit();
    void rollback();

    // Runs one read-only statement with its values bound in order and gives the
    // column names and every row, as stored.
    bool select(const QString &sql, const QVariantList &binds, QStringList *columns,
        QList<QVariantList> *rows);

private:
    bool fail(const QString &text);
    // A failure of the engine while doing what `doing` says: the sentence, then the
    // engine's text.
    bool failEngine(const QString &doing, const QSqlError &error);
    bool requireOpen();
    bool requireLiveConnection();
    bool requireWritable();
    void shareWithGroup();
    bool openConnection();
    bool connectToServer(QSqlDatabase &db);
    bool prepareReceipts();
    bool prepareTable(OpenMode mode);
    bool prepareServerTable(OpenMode mode);
    bool setDurability();
    bool toStoredRow(const QVariantList &values, QVariantList *stored);
    QString insertStatement() const;
    void prepareInsert(QSqlQuery &query, const QVariantList &stored,
        const QStringList &updatedOnKey = {}) const;
    QSqlQuery &appendStatement();
    bool execChange(QSqlQuery &query);
    bool collectRows(QSqlQuery &query, QList<TableRow> *rows);
    // Runs a read; when it failed on a connection that the server had dropped (a
    // server restarted while the table stood open), once more on a new one.
    bool readAgainIfLost(const std::function<bool()> &read);
    qint64 countRows(const RowFilter &filter);
    bool readPageOnce(const RowFilter &filter, qint64 afterRowid, int limit, QList<TableRow> *rows);
    bool readAllOnce(QList<TableRow> *rows);
    bool readConsistentlyOnce(const std::function<bool()> &reads);
    bool selectOnce(const QString &sql, const QVariantList &binds, QStringList *columns,
        QList<QVariantList> *rows);
    QString filterCondition(const RowFilter &filter, QVariantList *binds) const;

    DatabaseLocation m_location;
    const TableSchema &m_schema;
    QString m_connection;
    // The insertion that append runs, prepared once per opening (rows come many at a time).
    std::unique_ptr<QSqlQuery> m_append;
    QString m_error;
    bool m_keyViolation = false;
    bool m_unreachable = false;
    // The connection to the server broke; the next call connects anew.
    bool m_connectionLost = false;
    bool m_receiptsReady = false;
    // Within a transaction of the caller's or of readConsistently.
    bool m_inTransaction = false;
    bool m_readOnly = false;
};

// What the operator is told when a table that stays open for the whole run cannot
// be opened at start-up: which table, in which folder, then the engine's text.
QString OpenFailureText(const DatabaseTable &table);
