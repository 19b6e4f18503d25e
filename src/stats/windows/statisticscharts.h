#pragma once

#include "stats/statisticsqueries.h"

class QChart;

// The charts of the statistics window, made from counted statistics. Each returns a
// new chart that the caller owns (a chart view takes it over).

// Radio tests per period, "Норма" and "Брак" stacked, with the share of "Брак" in per cent.
QChart *RadioTestsChart(const RadioTestStatistics &statistics, PeriodStep step);
// Tests with a fault of each band.
QChart *BandsChart(const RadioTestStatistics &statistics);
// Tests showing each kind of fault line, the most frequent on top.
QChart *FaultKindsChart(const RadioTestStatistics &statistics);
// The locomotives with most faulty tests, the most on top.
QChart *LocomotivesChart(const RadioTestStatistics &statistics);
// Station self-tests per period, passed and failed stacked.
QChart *SelfTestsChart(const SelfTestStatistics &statistics, PeriodStep step);
