#include "tests/testclock.h"

#include "link/clock.h"

void WaitClock::start()
{
    m_start = m_clock.now().time();
}

int WaitClock::elapsedSeconds() const
{
    return ElapsedSecondsOfDay(m_start, m_clock.now().time());
}
