#include "tests/testclock.h"

#include "link/clock.h"
#include "records/dateformats.h"

TestWait::TestWait(Clock &clock, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
    , m_poll(clock.createTimer(this))
{
    m_poll->setSingleShot(false);
    connect(m_poll.get(), &ClockTimer::timeout, this, [this] {
        if (m_running) {
            Q_EMIT pass();
        }
    });
}

TestWait::~TestWait() = default;

void TestWait::start()
{
    m_start = m_clock.now().time();
    m_running = true;
    m_poll->start(PollMs);
}

void TestWait::stop()
{
    m_poll->stop();
    m_running = false;
}

int TestWait::elapsedSeconds() const
{
    return ElapsedSecondsOfDay(m_start, m_clock.now().time());
}

QString StartStamp(const QDateTime &start)
{
    return ShortDateText(start.date()) + QLatin1Char(' ')
        + start.time().toString(QStringLiteral("hh:mm:ss"));
}
