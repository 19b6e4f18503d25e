#include "records/browsercriteria.h"

#include "records/fieldvalues.h"
#include "shared/codecs.h"

#include <QStringList>

SqlCondition CriteriaCondition(const BrowserCriteria &criteria)
{
    SqlCondition condition;
    QStringList parts;
    if (criteria.days) {
        parts.append(QStringLiteral("\"Date\" >= ? AND \"Date\" <= ?"));
        condition.binds.append(criteria.days->from.toString(QLatin1StringView(StoredDateFormat)));
        condition.binds.append(criteria.days->to.toString(QLatin1StringView(StoredDateFormat)));
    }
    if (criteria.locomotive) {
        parts.append(QStringLiteral("\"Loko\" = ?"));
        // A null text would bind as NULL and match nothing, not the empty number.
        condition.binds.append(
            criteria.locomotive->isNull() ? QStringLiteral("") : *criteria.locomotive);
    }
    condition.sql = parts.join(QStringLiteral(" AND "));
    return condition;
}

QString PadLocomotiveNumber(const QString &typed)
{
    constexpr int Digits = 7;
    return PadWithZeros(typed, Digits);
}
