#pragma once

#include "stats/statisticsperiods.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

class DatabaseTable;

// What the statistics look at: the days from and to (both inclusive), counted by
// week or month; the radio tests optionally of one locomotive only.
struct StatisticsRequest
{
    QDate from;
    QDate to;
    PeriodStep step = PeriodStep::Month;
    std::optional<QString> locomotive; // compared exactly, as the browser's criterion
};

// Tests of one period, and how many of them ended in "Брак".
struct PeriodCount
{
    QDate start;
    qint64 tests = 0;
    qint64 faulty = 0;

    bool operator==(const PeriodCount &) const = default;
};

struct NamedCount
{
    QString name;
    qint64 count = 0;

    bool operator==(const NamedCount &) const = default;
};

struct RadioTestStatistics
{
    // Every period of the request in order, those without a test included.
    QList<PeriodCount> periods;
    qint64 tests = 0;
    qint64 faulty = 0;
    // Tests with at least one fault line of the band: ДМВ, МВ, ГМВ, always in this order.
    QList<NamedCount> bands;
    // Tests showing each fault line of the decoder (a code it cannot read counts as
    // one kind), most frequent first.
    QList<NamedCount> faultKinds;
    // The ten locomotives with most tests ending in "Брак", most first.
    QList<NamedCount> locomotives;
};

// Station self-tests ("Тест 1" rows) per period; a failure is a "Брак" verdict.
struct SelfTestStatistics
{
    QList<PeriodCount> periods;
    qint64 tests = 0;
    qint64 faulty = 0;
};

inline constexpr int TopLocomotives = 10;

// Count the rows of the open Test23 or tests1 table in the engine, a handful of
// grouped rows coming back. False with the engine's text on a failure.
bool ReadRadioTestStatistics(DatabaseTable &table, const StatisticsRequest &request,
    RadioTestStatistics *statistics, QString *error);
bool ReadSelfTestStatistics(DatabaseTable &table, const StatisticsRequest &request,
    SelfTestStatistics *statistics, QString *error);
