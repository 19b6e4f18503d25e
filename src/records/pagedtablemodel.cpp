#include "records/pagedtablemodel.h"

#include "records/databasetable.h"

#include <QFont>

#include <algorithm>
#include <limits>

namespace {

// Rowids fetched per query by appendRowIds: bounds what one query holds in memory.
constexpr int RowIdChunk = 16 * PagedTableModel::PageRows;

constexpr qint64 NoRowid = std::numeric_limits<qint64>::min();

QString ChangedRowsText()
{
    return QStringLiteral("Строки таблицы изменились, обновите данные");
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

bool PagedTableModel::readRows(const QString &columns, qint64 after, qint64 before,
    bool descending, qint64 offset, qint64 limit, QList<QVariantList> *rows) const
{
    const QString rowid = m_table->rowIdColumn();
    QVariantList binds { after, before };
    binds.append(m_condition.binds);
    binds.append(limit);
    binds.append(offset);
    QStringList unused;
    return m_table->select(QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM ")
            + QuotedIdentifier(m_table->schema().tableName) + QStringLiteral(" WHERE ") + rowid
            + QStringLiteral(" > ? AND ") + rowid + QStringLiteral(" < ?")
            + (m_condition.sql.isEmpty() ? QString() : QStringLiteral(" AND ") + m_condition.sql)
            + QStringLiteral(" ORDER BY ") + rowid
            + (descending ? QStringLiteral(" DESC") : QString())
            + QStringLiteral(" LIMIT ? OFFSET ?"),
        binds, &unused, rows);
}

bool PagedTableModel::reload(DatabaseTable &table, const SqlCondition &condition)
{
    beginResetModel();
    m_table = nullptr;
    m_condition = condition;
    m_rows = 0;
    m_lastRowid = 0;
    m_bounds.clear();
    m_pages.clear();
    m_error.clear();

    // The last rowid bounds every later read, so that rows appended meanwhile do not
    // shift the pages. A first page that is not full is the whole count, which saves
    // a second pass over a table when the condition is rare.
    QList<QVariantList> firstPage;
    qint64 count = 0;
    m_table = &table;
    const bool ok = table.readConsistently([&] {
        QStringList columns;
        QList<QVariantList> result;
        if (!table.select(QStringLiteral("SELECT max(") + table.rowIdColumn()
                    + QStringLiteral(") FROM ") + QuotedIdentifier(table.schema().tableName),
                {}, &columns, &result)) {
            return false;
        }
        if (result.isEmpty() || result.first().value(0).isNull()) {
            return true;
        }
        m_lastRowid = result.first().value(0).toLongLong();
        if (!readRows(table.rowColumns(), NoRowid, m_lastRowid + 1, false, 0, PageRows,
                &firstPage)) {
            return false;
        }
        if (firstPage.size() < PageRows) {
            count = firstPage.size();
            return true;
        }
        // Inside one snapshot the whole count equals the count up to the last rowid,
        // and the engine counts a whole table fastest without a condition on rowid.
        if (!table.select(QStringLiteral("SELECT count(*) FROM ")
                    + QuotedIdentifier(table.schema().tableName)
                    + (condition.sql.isEmpty() ? QString()
                                               : QStringLiteral(" WHERE ") + condition.sql),
                condition.binds, &columns, &result)
            || result.isEmpty()) {
            return false;
        }
        count = result.first().value(0).toLongLong();
        return true;
    });
    if (ok && count > 0) {
        m_rows = int(std::min<qint64>(count, std::numeric_limits<int>::max()));
        keep(0, std::move(firstPage));
    } else {
        m_table = nullptr;
        m_lastRowid = 0;
        if (!ok) {
            m_error = table.errorText();
        }
    }
    endResetModel();
    return ok;
}

void PagedTableModel::clear()
{
    beginResetModel();
    m_table = nullptr;
    m_rows = 0;
    m_bounds.clear();
    m_pages.clear();
    endResetModel();
}

// Reads page index from the nearest page read before, or from the end of the rows,
// whichever leaves fewer rows to skip.
bool PagedTableModel::fetchPage(int index, QList<QVariantList> *rows) const
{
    const int first = index * PageRows;
    const int length = std::min(PageRows, m_rows - first);

    const auto known = m_bounds.constFind(index);
    if (known != m_bounds.cend()) {
        // Read before and dropped from the cache: its rowids are known.
        return readRows(m_table->rowColumns(), known->first - 1, known->last + 1, false, 0,
            length, rows);
    }
    qint64 after = NoRowid;
    qint64 skipFromBelow = first;
    const auto above = m_bounds.upperBound(index);
    if (above != m_bounds.cbegin()) {
        const auto below = std::prev(above);
        after = below->last;
        skipFromBelow = first - qint64(below.key() + 1) * PageRows;
    }
    qint64 before = m_lastRowid + 1;
    qint64 skipFromAbove = m_rows - (first + length);
    if (above != m_bounds.cend()) {
        before = above->first;
        skipFromAbove = qint64(above.key()) * PageRows - (first + length);
    }

    const bool fromAbove = skipFromAbove < skipFromBelow;
    if (!readRows(m_table->rowColumns(), after, before, fromAbove,
            fromAbove ? skipFromAbove : skipFromBelow, length, rows)) {
        return false;
    }
    if (fromAbove) {
        std::reverse(rows->begin(), rows->end());
    }
    return true;
}

PagedTableModel::Page &PagedTableModel::keep(int index, QList<QVariantList> rows) const
{
    if (!rows.isEmpty()) {
        m_bounds.insert(
            index, { rows.first().value(0).toLongLong(), rows.last().value(0).toLongLong() });
    }
    if (m_pages.size() >= CachedPages) {
        const auto oldest = std::min_element(m_pages.begin(), m_pages.end(),
            [](const Page &a, const Page &b) { return a.lastUse < b.lastUse; });
        m_pages.erase(oldest);
    }
    Page &kept = m_pages[index];
    kept.rows = std::move(rows);
    return kept;
}

const PagedTableModel::Page *PagedTableModel::page(int index) const
{
    if (!m_table || index < 0 || qint64(index) * PageRows >= m_rows) {
        return nullptr;
    }
    auto found = m_pages.find(index);
    Page *p = found == m_pages.end() ? nullptr : &found.value();
    if (!p) {
        QList<QVariantList> rows;
        if (!fetchPage(index, &rows)) {
            return nullptr;
        }
        p = &keep(index, std::move(rows));
    }
    p->lastUse = ++m_useCounter;
    return p;
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
    if (!m_table || first > last) {
        return true;
    }
    // The first row's page gives where to start; the rest follow by rowid.
    const qint64 start = rowIdAt(first);
    if (start == 0) {
        return fail(m_table->errorText().isEmpty() ? ChangedRowsText() : m_table->errorText());
    }
    ids->append(start);
    qint64 after = start;
    for (int row = first + 1; row <= last;) {
        const int count = std::min(last - row + 1, RowIdChunk);
        QList<QVariantList> rows;
        if (!readRows(m_table->rowIdColumn(), after, m_lastRowid + 1, false, 0, count, &rows)) {
            return fail(m_table->errorText());
        }
        for (const QVariantList &id : std::as_const(rows)) {
            ids->append(id.value(0).toLongLong());
        }
        if (rows.size() < count) {
            return fail(ChangedRowsText());
        }
        after = ids->last();
        row += count;
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
        // The tooltip gives the whole title of a column too narrow to show it.
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
            return m_display.columns.at(section).title;
        }
        if (role == Qt::TextAlignmentRole) {
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        }
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}
