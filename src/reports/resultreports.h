#pragma once

#include "reports/reportlayout.h"
#include "reports/reportprepare.h"

class Clock;

// The printed reports of the two result browsers: a layout and the hooks that stamp
// each page with the clock's time and, in the expanded reports, decode each row's
// result code into coloured lines. The rows are the tables' fields, named as in the
// tables and printed as the browsers show them.
struct ResultReport
{
    ReportLayout layout;
    ReportHooks hooks;
};

// Name of the expanded reports' block of result lines.
inline constexpr char ResultLinesValueName[] = "result";

// Self-tests (tests1.DB), one line per row on landscape pages.
ResultReport TFReport(Clock &clock);
// Self-tests, a card per row with the decoded result on portrait pages.
ResultReport TFReportR1(Clock &clock);
// Radio tests (Test23.DB), one line per row on landscape pages.
ResultReport TFReport23(Clock &clock);
// Radio tests, a card per row with the decoded result on portrait pages.
ResultReport TFReportR2(Clock &clock);

// The test number and service word text a recorded radio test row is decoded with:
// the last character of Event read as a decimal digit (0 when it is none), and no
// service word (no band blocking) when Event names a test, "070000" otherwise.
int RecordedTestNumber(const QString &event);
QString RecordedServiceWord(const QString &event);
