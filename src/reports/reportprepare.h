#pragma once

#include "reports/reportlayout.h"

#include <QHash>
#include <QStringList>

#include <functional>

class ReportRowSource;

// Values that hooks set under names: texts for Value items, coloured lines for rich
// text blocks.
struct ReportValues
{
    QHash<QString, QString> texts;
    QHash<QString, ReportLines> lines;

    bool isEmpty() const { return texts.isEmpty() && lines.isEmpty(); }
};

// The row handed to the before-detail hook.
struct ReportRow
{
    const QStringList &fieldNames;
    const QStringList &values;
    qsizetype index; // 0 for the first row printed

    QString value(const QString &fieldName) const;
};

struct ReportHooks
{
    // At the start of every page (numbered from 1), as the page is prepared: sets the
    // values the page's bands print, such as the print stamp.
    std::function<void(int pageNumber, ReportValues &page)> startOfPage;
    // Before each detail band: sets the values that band prints beside the row's fields.
    std::function<void(const ReportRow &row, ReportValues &detail)> beforeDetail;
    // Rows taken so far and rows expected (-1 when unknown); returning false cancels
    // the preparation.
    std::function<bool(qsizetype taken, qsizetype expected)> progress;
};

// A report ready to be painted: the layout, a copy of the rows, the values the hooks
// set and the rows of every page. Painting reads only this snapshot, so every
// rendering of the report (preview, each zoom, the printout, a PDF) is the same.
class PreparedReport
{
public:
    enum class Status { Ready, Failed, Cancelled };

    struct Page
    {
        qsizetype firstRow = 0;
        qsizetype rowCount = 0;
        ReportValues values;
    };

    Status status() const { return m_status; }
    bool isReady() const { return m_status == Status::Ready; }
    QString errorString() const { return m_error; }

    const ReportLayout &layout() const { return m_layout; }
    int pageCount() const { return int(m_pages.size()); }
    const Page &page(int index) const { return m_pages.at(index); }
    qsizetype rowCount() const { return m_rows.size(); }

    // Text a band prints for a Field item of row (empty for an unknown row).
    QString fieldText(qsizetype row, const QString &fieldName) const;
    // Values set by the before-detail hook for the row.
    const ReportValues &detailValues(qsizetype row) const;

private:
    friend PreparedReport PrepareReport(
        const ReportLayout &, ReportRowSource &, const ReportHooks &);

    Status m_status = Status::Failed;
    QString m_error;
    ReportLayout m_layout;
    QHash<QString, int> m_fieldIndex;
    QList<QStringList> m_rows;
    QList<ReportValues> m_detailValues; // empty when no hook set any value
    QList<Page> m_pages;
};

// Takes every row of the source, runs the hooks and lays the rows out on pages.
// A layout that prints a field the source does not have fails with an error text;
// so does a source whose walk fails.
PreparedReport PrepareReport(
    const ReportLayout &layout, ReportRowSource &rows, const ReportHooks &hooks = {});
