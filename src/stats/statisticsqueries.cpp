#include "stats/statisticsqueries.h"

#include "records/browsercriteria.h"
#include "records/databasetable.h"
#include "records/fieldvalues.h"
#include "reports/resultreports.h"
#include "shared/resulttext.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <utility>

namespace {

const QString FaultyWord = QStringLiteral("Брак");
const QString SelfTestEvent = QStringLiteral("Тест 1");
const QStringList BandNames { QStringLiteral("ДМВ"), QStringLiteral("МВ"), QStringLiteral("ГМВ") };
const QString UnreadableCode = QStringLiteral("Нераспознанный код результата");

// The digits of a radio test code that report a fault: every hex digit but 0.
QString faultDigitList()
{
    QStringList digits;
    for (const QChar c : QStringLiteral("123456789ABCDEFabcdef")) {
        digits.append(u'\'' + QString(c) + u'\'');
    }
    return digits.join(u',');
}

// What of a radio test code decides its fault lines: a 7-character code becomes
// '1' for each of its six fault digits that is set and '0' otherwise, with a last
// '0' for the radio's own test code, which never shows as a fault. A code of any
// other form stays as it is. So a year of rows falls into a few groups, and each
// group is decoded once, by the decoder the browsers use.
QString faultPatternSql()
{
    static const QString digits = faultDigitList();
    QStringList parts;
    for (int position = 1; position <= 6; ++position) {
        parts.append(QStringLiteral("CASE WHEN substr(\"ResultCod\", %1, 1) IN (%2) "
                                    "THEN '1' ELSE '0' END")
                         .arg(position)
                         .arg(digits));
    }
    parts.append(QStringLiteral("'0'"));
    // Most tests pass: their code needs no look at its digits.
    return QStringLiteral("CASE WHEN \"ResultCod\" = '0000000' THEN '0000000' "
                          "WHEN length(\"ResultCod\") = 7 THEN ")
        + parts.join(" || ")
        + QStringLiteral(" ELSE COALESCE(\"ResultCod\", '') END");
}

QString faultySql()
{
    return QStringLiteral("CASE WHEN \"ResultWord\" = ? THEN 1 ELSE 0 END");
}

QString periodSql(const DatabaseTable &table, PeriodStep step, QString *error)
{
    const QString sql = PeriodStartSql(table.driverName(), QStringLiteral("\"Date\""), step);
    if (sql.isEmpty()) {
        *error = QStringLiteral("Статистика не поддерживает базу данных %1").arg(table.driverName());
    }
    return sql;
}

SqlCondition requestCondition(const StatisticsRequest &request, bool withLocomotive)
{
    BrowserCriteria criteria;
    criteria.days = BrowserCriteria::DayRange { request.from, request.to };
    if (withLocomotive) {
        criteria.locomotive = request.locomotive;
    }
    return CriteriaCondition(criteria);
}

bool run(DatabaseTable &table, const QString &sql, const QVariantList &binds,
    QList<QVariantList> *rows, QString *error)
{
    QStringList columns;
    if (!table.select(sql, binds, &columns, rows)) {
        *error = table.errorText();
        return false;
    }
    return true;
}

// Every period of the request, then the counts of the grouped rows added in.
class PeriodTable
{
public:
    PeriodTable(const StatisticsRequest &request)
    {
        for (const QDate &start : PeriodStarts(request.from, request.to, request.step)) {
            m_index.insert(start, m_periods.size());
            m_periods.append({ start, 0, 0 });
        }
    }

    void add(const QVariant &start, qint64 count, bool faulty)
    {
        const QDate day = QDate::fromString(start.toString(), QLatin1StringView(StoredDateFormat));
        const auto it = m_index.constFind(day);
        if (it == m_index.cend()) {
            return; // a row whose Date is no day
        }
        PeriodCount &period = m_periods[*it];
        period.tests += count;
        period.faulty += faulty ? count : 0;
    }

    QList<PeriodCount> periods() const { return m_periods; }

private:
    QList<PeriodCount> m_periods;
    QHash<QDate, qsizetype> m_index;
};

// The fault lines a group of codes shows, as kinds and bands.
struct DecodedFaults
{
    QStringList kinds;
    QList<int> bands; // indexes into BandNames, each once
};

DecodedFaults decodeFaults(const QString &event, const QString &pattern)
{
    DecodedFaults faults;
    const ResultLines lines
        = ShowRadioTestCode(RecordedTestNumber(event), pattern, RecordedServiceWord(event));
    for (const ResultLine &line : lines) {
        if (line.colour != FaultColour) {
            continue;
        }
        const QString text = line.text.trimmed();
        faults.kinds.append(text.startsWith(UnreadableCode) ? UnreadableCode : text);
        const int band = BandNames.indexOf(text.section(u' ', -1));
        if (band >= 0 && !faults.bands.contains(band)) {
            faults.bands.append(band);
        }
    }
    return faults;
}

QList<NamedCount> mostFirst(const QHash<QString, qint64> &counts)
{
    QList<NamedCount> list;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        list.append({ it.key(), it.value() });
    }
    std::sort(list.begin(), list.end(), [](const NamedCount &a, const NamedCount &b) {
        return a.count != b.count ? a.count > b.count : a.name < b.name;
    });
    return list;
}

bool readTopLocomotives(DatabaseTable &table, const StatisticsRequest &request,
    QList<NamedCount> *locomotives, QString *error)
{
    const SqlCondition condition = requestCondition(request, true);
    const QString sql = QStringLiteral("SELECT \"Loko\", count(*) AS faults FROM ")
        + QuotedIdentifier(table.schema().tableName) + QStringLiteral(" WHERE ") + condition.sql
        + QStringLiteral(" AND \"ResultWord\" = ? GROUP BY \"Loko\" ORDER BY faults DESC, "
                         "\"Loko\" LIMIT ")
        + QString::number(TopLocomotives);
    QList<QVariantList> rows;
    if (!run(table, sql, condition.binds + QVariantList { FaultyWord }, &rows, error)) {
        return false;
    }
    for (const QVariantList &row : std::as_const(rows)) {
        locomotives->append({ row.value(0).toString(), row.value(1).toLongLong() });
    }
    return true;
}

} // namespace

bool ReadRadioTestStatistics(DatabaseTable &table, const StatisticsRequest &request,
    RadioTestStatistics *statistics, QString *error)
{
    *statistics = {};
    const QString period = periodSql(table, request.step, error);
    if (period.isEmpty()) {
        return false;
    }
    const SqlCondition condition = requestCondition(request, true);
    const QString sql
        = QStringLiteral("SELECT period, event, faulty, pattern, count(*) FROM (SELECT ") + period
        + QStringLiteral(" AS period, \"Event\" AS event, ") + faultySql()
        + QStringLiteral(" AS faulty, ") + faultPatternSql() + QStringLiteral(" AS pattern FROM ")
        + QuotedIdentifier(table.schema().tableName) + QStringLiteral(" WHERE ") + condition.sql
        + QStringLiteral(") r GROUP BY period, event, faulty, pattern");
    QList<QVariantList> rows;
    if (!run(table, sql, QVariantList { FaultyWord } + condition.binds, &rows, error)) {
        return false;
    }

    PeriodTable periods(request);
    QList<qint64> bandCounts(BandNames.size(), 0);
    QHash<QString, qint64> kindCounts;
    QHash<std::pair<QString, QString>, DecodedFaults> decoded;
    for (const QVariantList &row : std::as_const(rows)) {
        const qint64 count = row.value(4).toLongLong();
        const bool faulty = row.value(2).toInt() != 0;
        periods.add(row.value(0), count, faulty);
        statistics->tests += count;
        statistics->faulty += faulty ? count : 0;

        const std::pair key { row.value(1).toString(), row.value(3).toString() };
        auto it = decoded.find(key);
        if (it == decoded.end()) {
            it = decoded.insert(key, decodeFaults(key.first, key.second));
        }
        for (const QString &kind : std::as_const(it->kinds)) {
            kindCounts[kind] += count;
        }
        for (const int band : std::as_const(it->bands)) {
            bandCounts[band] += count;
        }
    }
    statistics->periods = periods.periods();
    for (int band = 0; band < BandNames.size(); ++band) {
        statistics->bands.append({ BandNames.at(band), bandCounts.at(band) });
    }
    statistics->faultKinds = mostFirst(kindCounts);
    return readTopLocomotives(table, request, &statistics->locomotives, error);
}

bool ReadSelfTestStatistics(DatabaseTable &table, const StatisticsRequest &request,
    SelfTestStatistics *statistics, QString *error)
{
    *statistics = {};
    const QString period = periodSql(table, request.step, error);
    if (period.isEmpty()) {
        return false;
    }
    const SqlCondition condition = requestCondition(request, false);
    const QString sql = QStringLiteral("SELECT period, faulty, count(*) FROM (SELECT ") + period
        + QStringLiteral(" AS period, ") + faultySql() + QStringLiteral(" AS faulty FROM ")
        + QuotedIdentifier(table.schema().tableName)
        + QStringLiteral(" WHERE \"Event\" = ? AND ") + condition.sql
        + QStringLiteral(") s GROUP BY period, faulty");
    QList<QVariantList> rows;
    if (!run(table, sql, QVariantList { FaultyWord, SelfTestEvent } + condition.binds, &rows,
            error)) {
        return false;
    }
    PeriodTable periods(request);
    for (const QVariantList &row : std::as_const(rows)) {
        const qint64 count = row.value(2).toLongLong();
        const bool faulty = row.value(1).toInt() != 0;
        periods.add(row.value(0), count, faulty);
        statistics->tests += count;
        statistics->faulty += faulty ? count : 0;
    }
    statistics->periods = periods.periods();
    return true;
}
