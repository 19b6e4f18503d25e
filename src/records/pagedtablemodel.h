#pragma once

#include "records/browsercolumns.h"
#include "records/browsercriteria.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QMap>
#include <QVariantList>

class DatabaseTable;

// The rows of a result table that pass a condition, read from SQLite a page at a
// time as a view asks for them, so that a table of years of results is never held
// in memory.
//
// reload() reads the first page and the count only, so that opening costs the same
// whatever the size of the table. Every page read notes the rowids of its first and
// last row; a later page is found from the nearest noted page, or from the end, by
// rowid and an offset, and the rowids of a selection are read page by page. Every
// query runs to its end, so no read lock outlives a call and the recorder can append
// meanwhile. Rows appended after reload() are not shown until the next reload(). A
// few recently used pages are kept.
class PagedTableModel final : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int PageRows = 256;
    static constexpr int CachedPages = 16;

    explicit PagedTableModel(const BrowserDisplay &display, QObject *parent = nullptr);

    // Reads afresh which rows of the open table pass the condition. On failure
    // returns false with errorText() and shows no rows. The table must stay open
    // until clear() or the next reload().
    bool reload(DatabaseTable &table, const SqlCondition &condition);
    // Shows no rows and forgets the table.
    void clear();
    const QString &errorText() const { return m_error; }

    const BrowserDisplay &display() const { return m_display; }

    // The row's identity in its table; 0 for a row that cannot be read.
    qint64 rowIdAt(int row) const;
    // The value of a field of the row as stored; null for a row that cannot be read.
    QVariant storedValue(int row, const QString &field) const;
    // The rowids of the rows first..last in order, appended to ids.
    bool appendRowIds(int first, int last, QList<qint64> *ids);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Page
    {
        QList<QVariantList> rows; // rowid, then the fields in table order
        quint64 lastUse = 0;
    };

    // Rowids of the first and last row of a page that was read.
    struct PageBounds
    {
        qint64 first = 0;
        qint64 last = 0;
    };

    const Page *page(int index) const;
    bool fetchPage(int index, QList<QVariantList> *rows) const;
    Page &keep(int index, QList<QVariantList> rows) const;
    // Rows of the condition with a rowid inside (after, before), in rowid order or in
    // reverse, skipping the first offset of them.
    bool readRows(const QString &columns, qint64 after, qint64 before, bool descending,
        qint64 offset, qint64 limit, QList<QVariantList> *rows) const;
    bool fail(const QString &text);

    const BrowserDisplay &m_display;
    QList<int> m_fieldOfColumn; // schema field index of each column
    DatabaseTable *m_table = nullptr;
    SqlCondition m_condition;
    int m_rows = 0;
    qint64 m_lastRowid = 0;
    mutable QMap<int, PageBounds> m_bounds; // of every page read since reload()
    mutable QHash<int, Page> m_pages;
    mutable quint64 m_useCounter = 0;
    QString m_error;
};
