#pragma once

#include <QDateTime>
#include <QString>
#include <QTime>

class Clock;

// Whole seconds since a start, taken as times of day: a wait that crosses
// midnight goes on counting instead of jumping by a day.
class WaitClock
{
public:
    explicit WaitClock(const Clock &clock)
        : m_clock(clock)
    { }

    void start();
    int elapsedSeconds() const;

private:
    const Clock &m_clock;
    QTime m_start;
};

// "the system's short date and long time" of a test's start, for its status bar.
QString StartStamp(const QDateTime &start);
