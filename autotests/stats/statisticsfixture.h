#pragma once

#include "resulttables.h"

#include "records/tableschema.h"

// A quarter of radio tests whose counts are worked out by hand in the tests, with a
// row on either side of it that no count of the quarter may include.
namespace StatisticsFixture {

inline const QString LocoA = QStringLiteral("0000001");
inline const QString LocoB = QStringLiteral("0000002");
inline const QString LocoC = QStringLiteral("0000003");

inline QVariantList RadioRow(const QDate &day, const QString &loko, const QString &event,
    const QString &verdict, const QString &code)
{
    QVariantList row = ResultTables::RadioTestRow(day, loko, event, code);
    row[Test23Schema().fieldIndex("ResultWord")] = verdict;
    return row;
}

inline QList<QVariantList> QuarterRows()
{
    const QString t2 = QStringLiteral("Тест 2");
    const QString t3 = QStringLiteral("Тест 3");
    const QString bad = QStringLiteral("Брак");
    const QString good = QStringLiteral("Норма");
    return {
        RadioRow(QDate(2023, 12, 31), LocoA, t2, bad, "1110000"), // before the quarter
        RadioRow(QDate(2024, 1, 5), LocoA, t2, bad, "1000000"), // ДМВ, its deviation not measured
        RadioRow(QDate(2024, 1, 20), LocoA, t3, bad, "0a0000F"), // МВ in lower case; F is the radio's own code
        RadioRow(QDate(2024, 1, 31), LocoA, t2, bad, "0100100"), // МВ; its deviation not measured
        RadioRow(QDate(2024, 2, 10), LocoB, t2, good, "0000000"),
        RadioRow(QDate(2024, 2, 11), LocoB, t2, bad, "0000010"), // deviation ГМВ
        RadioRow(QDate(2024, 2, 29), LocoC, t2, bad, "?"), // no answer
        RadioRow(QDate(2024, 3, 15), LocoC, t2, good, "00G0000"), // G is no hex digit: no fault
        RadioRow(QDate(2024, 3, 31), LocoA, t2, bad, "X10"), // a code of another form
        RadioRow(QDate(2024, 4, 1), LocoB, t2, bad, "1000000"), // after the quarter
    };
}

} // namespace StatisticsFixture
