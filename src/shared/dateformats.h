#pragma once

#include <QDate>
#include <QString>

// Date and time texts the way the operator's system writes them.
//
// Patterns here are Qt date/time patterns in which '/' stands for the system's date
// separator and ':' for its time separator, so "dd/MM/yy" reads 10.12.26 on a Russian
// system and 10/12/26 on one that separates with a slash.

// The separators of the program's locale (QLocale()): the first punctuation mark of
// its short date or time format; '/' and ':' when the format has none.
QChar SystemDateSeparator();
QChar SystemTimeSeparator();

// The pattern with '/' and ':' replaced by the system's separators.
QString WithSystemSeparators(const QString &pattern);

// The program-wide short date format. It starts as the system's own short date
// format; SetProgramShortDateFormat replaces it for the rest of the run (an empty
// pattern returns to the system's). Used on the GUI thread only.
QString ProgramShortDateFormat();
void SetProgramShortDateFormat(const QString &pattern);

// What the record selection dialog switches to: day, month and two-digit year.
inline constexpr char DayMonthYearPattern[] = "dd/MM/yy";
void UseDayMonthYearShortDates();

// The date in the program-wide short date format.
QString ShortDateText(const QDate &date);
