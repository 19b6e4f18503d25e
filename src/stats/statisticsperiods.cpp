#include "stats/statisticsperiods.h"

QDate PeriodStart(const QDate &day, PeriodStep step)
{
    return step == PeriodStep::Week ? day.addDays(1 - day.dayOfWeek())
                                    : QDate(day.year(), day.month(), 1);
}

QList<QDate> PeriodStarts(const QDate &from, const QDate &to, PeriodStep step)
{
    QList<QDate> starts;
    if (!from.isValid() || !to.isValid() || from > to) {
        return starts;
    }
    for (QDate start = PeriodStart(from, step); start <= to;
         start = step == PeriodStep::Week ? start.addDays(7) : start.addMonths(1)) {
        starts.append(start);
    }
    return starts;
}

QString PeriodStartSql(const QString &driverName, const QString &dateColumn, PeriodStep step)
{
    if (driverName == QLatin1String("QSQLITE")) {
        // Dates are kept as 'YYYY-MM-DD' text; %w counts Sunday as 0.
        return step == PeriodStep::Week
            ? QStringLiteral("date(%1, '-' || ((CAST(strftime('%w', %1) AS INTEGER) + 6) % 7) "
                             "|| ' days')")
                  .arg(dateColumn)
            : QStringLiteral("substr(%1, 1, 7) || '-01'").arg(dateColumn);
    }
    if (driverName == QLatin1String("QPSQL")) {
        return QStringLiteral("to_char(date_trunc('%1', CAST(%2 AS DATE)), 'YYYY-MM-DD')")
            .arg(step == PeriodStep::Week ? QStringLiteral("week") : QStringLiteral("month"),
                dateColumn);
    }
    return {};
}

QString PeriodLabel(const QDate &start, PeriodStep step)
{
    return start.toString(step == PeriodStep::Week ? QStringLiteral("dd.MM.yy")
                                                   : QStringLiteral("MM.yyyy"));
}
