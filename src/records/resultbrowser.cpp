#include "records/resultbrowser.h"

#include "records/browserreportrows.h"

#include <algorithm>

ResultBrowser::ResultBrowser(const DatabaseLocation &location, const BrowserDisplay &display)
    : m_display(display)
    , m_table(location, display.schema)
    , m_model(display)
{ }

bool ResultBrowser::fail(const QString &text)
{
    m_error = text;
    return false;
}

bool ResultBrowser::open()
{
    m_model.clear();
    if (!m_table.open(DatabaseTable::OpenMode::ExistingOnly)) {
        return fail(m_table.errorText());
    }
    return refresh();
}

bool ResultBrowser::close()
{
    m_model.clear();
    return m_table.close() || fail(m_table.errorText());
}

bool ResultBrowser::setCriteria(const BrowserCriteria &criteria)
{
    m_criteria = criteria;
    return !m_table.isOpen() || refresh();
}

bool ResultBrowser::refresh()
{
    if (!m_table.isOpen()) {
        m_model.clear();
        return true;
    }
    return m_model.reload(m_table, CriteriaCondition(m_criteria)) || fail(m_model.errorText());
}

bool ResultBrowser::rowIds(RowRuns runs, QList<qint64> *ids)
{
    std::sort(runs.begin(), runs.end());
    for (qsizetype i = 0; i < runs.size();) {
        auto [first, last] = runs.at(i);
        for (++i; i < runs.size() && runs.at(i).first <= last + 1; ++i) {
            last = std::max(last, runs.at(i).second);
        }
        if (!m_model.appendRowIds(first, last, ids)) {
            return fail(m_model.errorText());
        }
    }
    return true;
}

std::unique_ptr<BrowserReportRows> ResultBrowser::reportRows(
    std::optional<QList<qint64>> only, bool filtered)
{
    if (!m_table.isOpen()) {
        return nullptr;
    }
    return std::make_unique<BrowserReportRows>(m_table, m_display,
        filtered ? CriteriaCondition(m_criteria) : SqlCondition {}, std::move(only));
}

bool ResultBrowser::deleteRows(const QList<qint64> &rowids)
{
    if (!m_table.deleteRows(rowids)) {
        fail(m_table.errorText());
        refresh();
        return false;
    }
    return refresh();
}
