#pragma once

#include "records/tableschema.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariantList>

#include <optional>

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

// One table kept in its own SQLite file, reached through Qt's SQLite driver.
//
// Opening never damages what is there: a file that is neither empty nor an SQLite
// database, or whose table has another layout, is refused and left byte-identical.
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

    DatabaseTable(QString directory, const TableSchema &schema);
    ~DatabaseTable();
    DatabaseTable(const DatabaseTable &) = delete;
    DatabaseTable &operator=(const DatabaseTable &) = delete;

    // Opens the table; with OpenOrCreate a missing file, or an empty one, is given
    // the table, empty. A table that exists is never re-created.
    bool open(OpenMode mode);
    void close();
    bool isOpen() const { return !m_connection.isEmpty(); }

    const TableSchema &schema() const { return m_schema; }
    QString filePath() const;
    // The engine's text, or ours, for the last failure.
    const QString &errorText() const { return m_error; }

    // Appends one row: one value per field, in field order (see ToStoredValue).
    bool append(const QVariantList &values);

    // Rows that pass the filter, or -1 on failure.
    qint64 rowCount(const RowFilter &filter = {});

    // Up to limit rows that pass the filter, with a rowid above afterRowid, in
    // rowid order (the order of appending).
    bool readPage(const RowFilter &filter, qint64 afterRowid, int limit, QList<TableRow> *rows);

    bool deleteRow(qint64 rowid);

private:
    bool fail(const QString &text);
    bool requireOpen();
    bool openConnection();
    bool prepareTable(OpenMode mode);
    bool setDurability();
    QString filterCondition(const RowFilter &filter, QVariantList *binds) const;

    QString m_directory;
    const TableSchema &m_schema;
    QString m_connection;
    QString m_error;
};
