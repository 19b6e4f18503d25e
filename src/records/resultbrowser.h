#pragma once

#include "records/browsercriteria.h"
#include "records/browserreportrows.h"
#include "records/databasetable.h"
#include "records/pagedtablemodel.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <utility>

// What a result browser does with its table, without any window: opens and closes
// it, keeps its criteria, gives the grid's model, and makes the rows of a report and
// deletes rows by their identity. Failures come back as false with errorText().
class ResultBrowser
{
public:
    ResultBrowser(const DatabaseLocation &location, const BrowserDisplay &display);

    // Opens the existing table and reads its rows under the criteria.
    bool open();
    bool close();
    bool isOpen() const { return m_table.isOpen(); }
    const QString &errorText() const { return m_error; }

    PagedTableModel &model() { return m_model; }
    const BrowserDisplay &display() const { return m_display; }

    const BrowserCriteria &criteria() const { return m_criteria; }
    // Sets the criteria; an open table is read again under them.
    bool setCriteria(const BrowserCriteria &criteria);
    // Reads the open table again, showing rows recorded meanwhile.
    bool refresh();

    // Runs of grid rows, first and last row of each, in any order and overlapping.
    using RowRuns = QList<std::pair<int, int>>;
    // The rowids of the rows of the runs, in table order, each once.
    bool rowIds(RowRuns runs, QList<qint64> *ids);

    // The rows of a report in table order: all that pass the criteria, or, given a
    // list of rowids, only those of them that pass; unfiltered, every row of the
    // table. The table must stay open while the source is used. Null while the table
    // is closed.
    std::unique_ptr<BrowserReportRows> reportRows(
        std::optional<QList<qint64>> only = std::nullopt, bool filtered = true);

    // Deletes the rows in one change and reads the table again.
    bool deleteRows(const QList<qint64> &rowids);

private:
    bool fail(const QString &text);

    const BrowserDisplay &m_display;
    DatabaseTable m_table;
    PagedTableModel m_model;
    BrowserCriteria m_criteria;
    QString m_error;
};
