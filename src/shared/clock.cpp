#include "shared/clock.h"

#include <QTimer>

#include <cmath>

namespace {

class SystemClockTimer final : public ClockTimer
{
public:
    explicit SystemClockTimer(QObject *parent)
        : ClockTimer(parent)
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, &ClockTimer::timeout);
    }

    void start(int intervalMs) override { m_timer.start(intervalMs); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }
    int interval() const override { return m_timer.interval(); }
    void setSingleShot(bool singleShot) override { m_timer.setSingleShot(singleShot); }

private:
    QTimer m_timer;
};

} // namespace

int ElapsedSecondsOfDay(const QTime &from, const QTime &to)
{
    constexpr int secondsPerDay = 86400;
    const int ms = from.msecsTo(to);
    int seconds = static_cast<int>(std::lround(ms / 1000.0));
    if (seconds < 0) {
        seconds += secondsPerDay;
    }
    return seconds;
}

void CallAfter(Clock &clock, int ms, QObject *context, std::function<void()> fn)
{
    ClockTimer *timer = clock.createTimer(context).release(); // owned by context
    timer->setSingleShot(true);
    QObject::connect(timer, &ClockTimer::timeout, timer, [timer, fn = std::move(fn)] {
        timer->deleteLater();
        fn();
    });
    timer->start(ms);
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

std::unique_ptr<ClockTimer> SystemClock::createTimer(QObject *parent)
{
    return std::make_unique<SystemClockTimer>(parent);
}
