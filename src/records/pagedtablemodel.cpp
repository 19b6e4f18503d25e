#include "records/pagedtablemodel.h"

#include "records/databasetable.h"

#include <QFont>

#include <algorithm>
#include <limits>

namespace {

// Rowids fetched per query by appendRowIds: bounds what one query holds in memory.
constexpr int RowIdChunk = 16 * PagedTableModel::PageRows;

QString tableName(const DatabaseTable &table)
{
    return QuotedIdentifier(table.schema().tableName);
}

} // namespace

PagedTableModel::PagedTableModel(const BrowserDisplay &display, QObject *parent)
    : QAbstractTableModel(parent)
    , m_display(display)
{
    for (const BrowserColumn &column : m_display.columns) {
        m_fieldOfColumn.append(m_display.schema.fieldIndex(column.field));
    }
}

bool PagedTableModel::fail(const QString &text)
{
    m_error = text;
    return false;
}

QString PagedTableModel::rangeCondition(qint64 fromRowid, qint64 toRowid, QVariantList *binds) const
{
    binds->append(fromRowid);
    binds->append(toRowid);
    binds->append(m_condition.binds);
    return QStringLiteral(" WHERE rowid >= ? AND rowid <= ?")
        + (m_condition.sql.isEmpty() ? QString() : QStringLiteral(" AND ") + m_condition.sql);
}

bool PagedTableModel::reload(DatabaseTable &table, const SqlCondition &condition)
{
    beginResetModel();
    m_table = nullptr;
    m_condition = condition;
    m_rows = 0;
    m_lastRowid = 0;
    m_pageStarts.clear();
    m_pages.clear();
    m_error.clear();

    const QString where
        = condition.sql.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition.sql;
    QStringList columns;
    QList<QVariantList> result;
    bool ok = table.select(
        QStringLiteral("SELECT count(*), max(rowid) FROM ") + tableName(table) + where,
        condition.binds, &columns, &result);
    if (ok && !result.isEmpty() && result.first().value(0).toLongLong() > 0) {
        const qint64 count = result.first().value(0).toLongLong();
        m_lastRowid = result.first().value(1).toLongLong();
        // The rowid at the start of every page, computed inside SQLite so that only
        // one value per page comes back. Bounded by the last rowid counted, so rows
        // appended in between do not shift the pages.
        QVariantList binds;
        const QString range = rangeCondition(0, m_lastRowid, &binds);
        ok = table.select(QStringLiteral("SELECT rowid FROM (SELECT rowid, row_number() OVER "
                                         "(ORDER BY rowid) AS n FROM ")
                + tableName(table) + range + QStringLiteral(") WHERE n % ")
                + QString::number(PageRows) + QStringLiteral(" = 1 ORDER BY rowid"),
            binds, &columns, &result);
        if (ok) {
            for (const QVariantList &row : std::as_const(result)) {
                m_pageStarts.append(row.value(0).toLongLong());
            }
            m_rows = int(std::min<qint64>(count, std::numeric_limits<int>::max()));
            m_table = &table;
        }
    }
    if (!ok) {
        m_error = table.errorText();
        m_pageStarts.clear();
    }
    endResetModel();
    return ok;
}

void PagedTableModel::clear()
{
    beginResetModel();
    m_table = nullptr;
    m_rows = 0;
    m_pageStarts.clear();
    m_pages.clear();
    endResetModel();
}

const PagedTableModel::Page *PagedTableModel::page(int index) const
{
    if (!m_table || index < 0 || index >= m_pageStarts.size()) {
        return nullptr;
    }
    auto found = m_pages.find(index);
    if (found == m_pages.end()) {
        if (m_pages.size() >= CachedPages) {
            const auto oldest = std::min_element(m_pages.begin(), m_pages.end(),
                [](const Page &a, const Page &b) { return a.lastUse < b.lastUse; });
            m_pages.erase(oldest);
        }
        const qint64 last
            = index + 1 < m_pageStarts.size() ? m_pageStarts.at(index + 1) - 1 : m_lastRowid;
        QVariantList binds;
        const QString range = rangeCondition(m_pageStarts.at(index), last, &binds);
        binds.append(PageRows);
        QStringList columns;
        Page fetched;
        if (!m_table->select(QStringLiteral("SELECT rowid, * FROM ") + tableName(*m_table) + range
                    + QStringLiteral(" ORDER BY rowid LIMIT ?"),
                binds, &columns, &fetched.rows)) {
            return nullptr;
        }
        found = m_pages.insert(index, std::move(fetched));
    }
    found->lastUse = ++m_useCounter;
    return &found.value();
}

qint64 PagedTableModel::rowIdAt(int row) const
{
    const Page *p = row >= 0 && row < m_rows ? page(row / PageRows) : nullptr;
    const int offset = row % PageRows;
    return p && offset < p->rows.size() ? p->rows.at(offset).value(0).toLongLong() : 0;
}

QVariant PagedTableModel::storedValue(int row, const QString &field) const
{
    const int fieldIndex = m_display.schema.fieldIndex(field);
    const Page *p = row >= 0 && row < m_rows && fieldIndex >= 0 ? page(row / PageRows) : nullptr;
    const int offset = row % PageRows;
    return p && offset < p->rows.size() ? p->rows.at(offset).value(fieldIndex + 1) : QVariant();
}

bool PagedTableModel::appendRowIds(int first, int last, QList<qint64> *ids)
{
    first = std::max(first, 0);
    last = std::min(last, m_rows - 1);
    while (m_table && first <= last) {
        const int pageIndex = first / PageRows;
        const int count = std::min(last - first + 1, RowIdChunk);
        QVariantList binds;
        const QString range = rangeCondition(m_pageStarts.at(pageIndex), m_lastRowid, &binds);
        binds.append(count);
        binds.append(first - pageIndex * PageRows);
        QStringList columns;
        QList<QVariantList> rows;
        if (!m_table->select(QStringLiteral("SELECT rowid FROM ") + tableName(*m_table) + range
                    + QStringLiteral(" ORDER BY rowid LIMIT ? OFFSET ?"),
                binds, &columns, &rows)) {
            return fail(m_table->errorText());
        }
        for (const QVariantList &row : std::as_const(rows)) {
            ids->append(row.value(0).toLongLong());
        }
        if (rows.size() < count) {
            return fail(QStringLiteral("Строки таблицы изменились, обновите данные"));
        }
        first += count;
    }
    return true;
}

int PagedTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int PagedTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_display.columns.size());
}

QVariant PagedTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || index.column() >= m_fieldOfColumn.size()) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole: {
        const int fieldIndex = m_fieldOfColumn.at(index.column());
        const Page *p = page(index.row() / PageRows);
        const int offset = index.row() % PageRows;
        if (!p || offset >= p->rows.size() || fieldIndex < 0) {
            return {};
        }
        return m_display.text(
            m_display.schema.fields.at(fieldIndex), p->rows.at(offset).value(fieldIndex + 1));
    }
    case Qt::FontRole:
        if (m_display.columns.at(index.column()).bold) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    default:
        return {};
    }
}

QVariant PagedTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < m_display.columns.size()) {
        if (role == Qt::DisplayRole) {
            return m_display.columns.at(section).title;
        }
        if (role == Qt::TextAlignmentRole) {
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        }
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}
