#pragma once

#include <QDate>
#include <QString>
#include <QVariantList>

#include <optional>

// The criteria of a result browser: which recorded rows its grid and its reports
// show. An absent criterion does not restrict.
struct BrowserCriteria
{
    struct DayRange
    {
        QDate from;
        QDate to;
    };

    // Rows whose Date is neither before from nor after to; a range whose from day
    // lies after its to day passes no row.
    std::optional<DayRange> days;
    // Rows whose Loko equals this text exactly, character for character.
    std::optional<QString> locomotive;

    bool isEmpty() const { return !days && !locomotive; }
};

// An SQL condition with the values bound to its placeholders, in order. Empty sql
// means every row.
struct SqlCondition
{
    QString sql;
    QVariantList binds;
};

SqlCondition CriteriaCondition(const BrowserCriteria &criteria);

// The locomotive number as the criterion compares it: "0" put in front until it has
// at least seven characters; everything typed is kept as it is.
QString PadLocomotiveNumber(const QString &typed);
