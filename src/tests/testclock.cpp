#include "tests/testclock.h"

#include "link/clock.h"
#include "records/dateformats.h"

void WaitClock::start()
{
    m_start = m_clock.now().time();
}

int WaitClock::elapsedSeconds() const
{
    return ElapsedSecondsOfDay(m_start, m_clock.now().time());
}

QString StartStamp(const QDateTime &start)
{
    return ShortDateText(start.date()) + QLatin1Char(' ')
        + start.time().toString(QStringLiteral("hh:mm:ss"));
}
