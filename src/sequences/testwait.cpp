#include "sequences/testwait.h"

#include "shared/clock.h"
#include "shared/dateformats.h"

#include <QLocale>
#include <QRegularExpression>

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
    // The long time form as a clock shows it: without the time zone that the
    // locale's long form may end with.
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    return ShortDateText(start.date()) + QLatin1Char(' ')
        + QLocale().toString(start.time(), format.trimmed());
}
