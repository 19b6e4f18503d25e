#pragma once

#include "records/browsercolumns.h"
#include "records/browsercriteria.h"
#include "reports/reportrows.h"

#include <QList>

#include <optional>

class DatabaseTable;

// The rows a result report prints, read from the table a chunk at a time in table
// order: every row that passes the condition, or, when a list of rowids is given,
// only those of them that pass it. Fields are named as in the table and print as
// the browser shows them.
class BrowserReportRows final : public ReportRowSource
{
public:
    static constexpr int ChunkRows = 512;

    // only: rowids in any order; duplicates count once.
    BrowserReportRows(DatabaseTable &table, const BrowserDisplay &display, SqlCondition condition,
        std::optional<QList<qint64>> only = std::nullopt);

    QStringList fieldNames() const override { return m_fieldNames; }
    qsizetype expectedRows() const override;
    bool next(QStringList &values) override;
    // The next row's values as stored, in field order.
    bool nextStored(QVariantList &values);
    QString errorString() const override { return m_error; }

private:
    bool fetch();

    DatabaseTable &m_table;
    const BrowserDisplay &m_display;
    SqlCondition m_condition;
    std::optional<QList<qint64>> m_only; // sorted
    QStringList m_fieldNames;
    QList<QVariantList> m_chunk;
    qsizetype m_inChunk = 0;
    qsizetype m_nextOnly = 0; // next index into m_only to ask for
    qint64 m_afterRowid = 0;
    qsizetype m_given = 0;
    bool m_done = false;
    QString m_error;
};
