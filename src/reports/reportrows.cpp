#include "reports/reportrows.h"

#include <QAbstractItemModel>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

ReportRowList::ReportRowList(QStringList fieldNames, const QList<QStringList> &rows)
    : m_fieldNames(std::move(fieldNames))
    , m_rows(rows)
{ }

bool ReportRowList::next(QStringList &values)
{
    if (m_next >= m_rows.size()) {
        return false;
    }
    values = m_rows.at(m_next++);
    values.resize(m_fieldNames.size()); // a short row prints empty fields
    return true;
}

ReportQueryRows::ReportQueryRows(QSqlQuery &query, ReportValueFormatter format)
    : m_query(query)
    , m_format(std::move(format))
{
    const QSqlRecord record = m_query.record();
    for (int i = 0; i < record.count(); ++i) {
        m_fieldNames.append(record.fieldName(i));
    }
}

bool ReportQueryRows::next(QStringList &values)
{
    if (!m_query.isActive()) {
        m_error = m_query.lastError().text();
        return false;
    }
    if (!m_query.next()) {
        if (m_query.lastError().isValid()) {
            m_error = m_query.lastError().text();
        }
        return false;
    }
    values.resize(m_fieldNames.size());
    for (int i = 0; i < m_fieldNames.size(); ++i) {
        const QVariant v = m_query.value(i);
        values[i] = m_format ? m_format(m_fieldNames.at(i), v) : v.toString();
    }
    return true;
}

ReportModelRows::ReportModelRows(
    QAbstractItemModel &model, QStringList fieldNames, std::function<bool(int)> include, int role)
    : m_model(model)
    , m_fieldNames(std::move(fieldNames))
    , m_include(std::move(include))
    , m_role(role)
{ }

bool ReportModelRows::next(QStringList &values)
{
    for (;;) {
        // SQL models load their rows in chunks; a report needs all of them.
        // A model that claims more rows but yields none ends the walk.
        while (m_row >= m_model.rowCount() && m_model.canFetchMore({})) {
            const int before = m_model.rowCount();
            m_model.fetchMore({});
            if (m_model.rowCount() == before) {
                break;
            }
        }
        if (m_row >= m_model.rowCount()) {
            return false;
        }
        const int row = m_row++;
        if (m_include && !m_include(row)) {
            continue;
        }
        values.resize(m_fieldNames.size());
        for (int c = 0; c < m_fieldNames.size(); ++c) {
            values[c] = m_model.data(m_model.index(row, c), m_role).toString();
        }
        return true;
    }
}
