#pragma once

#include <QDate>
#include <QList>
#include <QString>

// The periods the statistics count by: calendar weeks from Monday, or calendar months.
enum class PeriodStep { Week, Month };

// The first day of the period that holds the day.
QDate PeriodStart(const QDate &day, PeriodStep step);

// The first days of every period from the one holding from to the one holding to,
// in order; empty when from lies after to.
QList<QDate> PeriodStarts(const QDate &from, const QDate &to, PeriodStep step);

// An SQL expression giving the first day of the period of the quoted date column as
// 'YYYY-MM-DD' text, in the dialect of the Qt driver ("QSQLITE" or "QPSQL"). The only
// engine-specific piece of the statistics; empty for a driver it does not know.
QString PeriodStartSql(const QString &driverName, const QString &dateColumn, PeriodStep step);

// The label of a period on a chart's axis: "дд.мм" of its Monday, or "мм.гггг".
QString PeriodLabel(const QDate &start, PeriodStep step);
