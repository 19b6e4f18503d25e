#pragma once

#include <QList>
#include <QStringList>
#include <QVariant>

#include <functional>

class QAbstractItemModel;
class QSqlQuery;

// Where a report's rows come from. A report takes them once, when it is prepared,
// and prints from its own copy afterwards.
class ReportRowSource
{
public:
    virtual ~ReportRowSource() = default;

    // Names of the fields, in the order of the values that next() gives.
    virtual QStringList fieldNames() const = 0;

    // Number of rows still to come if known (for progress), otherwise -1.
    virtual qsizetype expectedRows() const { return -1; }

    // Gives the next row's values; false at the end of the rows or on a failure.
    virtual bool next(QStringList &values) = 0;

    // Why the walk ended early; empty after a complete walk.
    virtual QString errorString() const { return {}; }
};

// Rows held by the caller, walked in order.
class ReportRowList final : public ReportRowSource
{
public:
    ReportRowList(QStringList fieldNames, const QList<QStringList> &rows);
    ReportRowList(QStringList, QList<QStringList> &&) = delete; // would outlive its rows

    QStringList fieldNames() const override { return m_fieldNames; }
    qsizetype expectedRows() const override { return m_rows.size() - m_next; }
    bool next(QStringList &values) override;

private:
    QStringList m_fieldNames;
    const QList<QStringList> &m_rows;
    qsizetype m_next = 0;
};

// Turns a stored value into the text the report prints (dates, times, numbers).
using ReportValueFormatter = std::function<QString(const QString &fieldName, const QVariant &)>;

// The rows of an executed query, from its current position on; field names are
// the query's column names. Without a formatter values print as QVariant::toString.
class ReportQueryRows final : public ReportRowSource
{
public:
    explicit ReportQueryRows(QSqlQuery &query, ReportValueFormatter format = {});

    QStringList fieldNames() const override { return m_fieldNames; }
    bool next(QStringList &values) override;
    QString errorString() const override { return m_error; }

private:
    QSqlQuery &m_query;
    ReportValueFormatter m_format;
    QStringList m_fieldNames;
    QString m_error;
};

// The rows of a table model, top to bottom, fetching rows the model has not yet
// loaded. Column c of the model is the field fieldNames[c]; values are taken in the
// given role. A row is printed only when include (if given) accepts its number.
class ReportModelRows final : public ReportRowSource
{
public:
    ReportModelRows(QAbstractItemModel &model, QStringList fieldNames,
        std::function<bool(int row)> include = {}, int role = Qt::DisplayRole);

    QStringList fieldNames() const override { return m_fieldNames; }
    bool next(QStringList &values) override;

private:
    QAbstractItemModel &m_model;
    QStringList m_fieldNames;
    std::function<bool(int)> m_include;
    int m_role;
    int m_row = 0;
};
