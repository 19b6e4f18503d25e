#include "shared/dateformats.h"

#include <QLocale>

namespace {

QChar firstPunctuation(const QString &format, QChar fallback)
{
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'') {
            quoted = !quoted;
        } else if (!quoted && c.isPunct()) {
            return c;
        }
    }
    return fallback;
}

// Empty while the system's format applies.
QString &programPattern()
{
    static QString pattern;
    return pattern;
}

} // namespace

QChar SystemDateSeparator()
{
    return firstPunctuation(QLocale().dateFormat(QLocale::ShortFormat), u'/');
}

QChar SystemTimeSeparator()
{
    return firstPunctuation(QLocale().timeFormat(QLocale::ShortFormat), u':');
}

QString WithSystemSeparators(const QString &pattern)
{
    const QChar date = SystemDateSeparator();
    const QChar time = SystemTimeSeparator();
    QString result = pattern;
    bool quoted = false;
    for (QChar &c : result) {
        if (c == u'\'') {
            quoted = !quoted;
        } else if (!quoted && c == u'/') {
            c = date;
        } else if (!quoted && c == u':') {
            c = time;
        }
    }
    return result;
}

QString ProgramShortDateFormat()
{
    const QString &pattern = programPattern();
    return pattern.isEmpty() ? QLocale().dateFormat(QLocale::ShortFormat)
                             : WithSystemSeparators(pattern);
}

void SetProgramShortDateFormat(const QString &pattern)
{
    programPattern() = pattern;
}

void UseDayMonthYearShortDates()
{
    SetProgramShortDateFormat(QLatin1StringView(DayMonthYearPattern));
}

QString ShortDateText(const QDate &date)
{
    return date.toString(ProgramShortDateFormat());
}
