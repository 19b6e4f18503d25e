#include "records/browserreportrows.h"

#include "records/databasetable.h"

#include <algorithm>

BrowserReportRows::BrowserReportRows(DatabaseTable &table, const BrowserDisplay &display,
    SqlCondition condition, std::optional<QList<qint64>> only)
    : m_table(table)
    , m_display(display)
    , m_condition(std::move(condition))
    , m_only(std::move(only))
{
    for (const FieldDef &field : m_table.schema().fields) {
        m_fieldNames.append(field.name);
    }
    if (m_only) {
        std::sort(m_only->begin(), m_only->end());
        m_only->erase(std::unique(m_only->begin(), m_only->end()), m_only->end());
    }
}

qsizetype BrowserReportRows::expectedRows() const
{
    return m_only ? m_only->size() - m_given : -1;
}

bool BrowserReportRows::fetch()
{
    m_chunk.clear();
    m_inChunk = 0;
    QString sql = QStringLiteral("SELECT rowid, * FROM ")
        + QuotedIdentifier(m_table.schema().tableName) + QStringLiteral(" WHERE ");
    QVariantList binds;
    if (m_only) {
        // The chosen rows, a chunk of rowids at a time, in ascending order.
        const qsizetype count = std::min<qsizetype>(ChunkRows, m_only->size() - m_nextOnly);
        if (count <= 0) {
            m_done = true;
            return true;
        }
        sql += QStringLiteral("rowid IN (") + QStringList(count, QStringLiteral("?")).join(u',')
            + u')';
        for (qsizetype i = 0; i < count; ++i) {
            binds.append(m_only->at(m_nextOnly + i));
        }
        m_nextOnly += count;
    } else {
        sql += QStringLiteral("rowid > ?");
        binds.append(m_afterRowid);
    }
    if (!m_condition.sql.isEmpty()) {
        sql += QStringLiteral(" AND ") + m_condition.sql;
        binds.append(m_condition.binds);
    }
    sql += QStringLiteral(" ORDER BY rowid LIMIT ") + QString::number(ChunkRows);
    QStringList columns;
    if (!m_table.select(sql, binds, &columns, &m_chunk)) {
        m_error = m_table.errorText();
        m_done = true;
        return false;
    }
    if (!m_only && m_chunk.isEmpty()) {
        m_done = true;
    }
    if (!m_chunk.isEmpty()) {
        m_afterRowid = m_chunk.last().value(0).toLongLong();
    }
    return true;
}

bool BrowserReportRows::nextStored(QVariantList &values)
{
    // A chunk of chosen rowids may yield no row (all deleted or filtered out).
    while (m_inChunk >= m_chunk.size()) {
        if (m_done || !fetch() || m_done) {
            return false;
        }
    }
    const QVariantList &row = m_chunk.at(m_inChunk++);
    values = row.mid(1);
    ++m_given;
    return true;
}

bool BrowserReportRows::next(QStringList &values)
{
    QVariantList stored;
    if (!nextStored(stored)) {
        return false;
    }
    const QList<FieldDef> &fields = m_table.schema().fields;
    values.resize(fields.size());
    for (int i = 0; i < fields.size(); ++i) {
        values[i] = m_display.text(fields.at(i), stored.value(i));
    }
    return true;
}
