#include "fakeclock.h"

#include <QCoreApplication>

FakeClock::FakeClock(QDateTime start)
    : m_now(std::move(start))
{ }

std::unique_ptr<ClockTimer> FakeClock::createTimer(QObject *parent)
{
    auto timer = std::make_unique<FakeClockTimer>(*this, parent);
    m_timers.append(timer.get());
    return timer;
}

void FakeClock::advance(qint64 ms)
{
    const QDateTime end = m_now.addMSecs(ms);
    for (;;) {
        // Deferred deletions and queued calls from earlier timeouts take effect first.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        m_timers.removeAll(nullptr);
        FakeClockTimer *next = nullptr;
        for (const auto &timer : std::as_const(m_timers)) {
            if (timer && timer->m_active && timer->m_due <= end
                && (next == nullptr || timer->m_due < next->m_due)) {
                next = timer;
            }
        }
        if (next == nullptr) {
            break;
        }
        m_now = std::max(m_now, next->m_due);
        if (next->m_singleShot) {
            next->m_active = false;
        } else {
            next->m_due = next->m_due.addMSecs(std::max(1, next->m_interval));
        }
        Q_EMIT next->timeout();
    }
    m_now = std::max(m_now, end); // an advance nested in a timeout may have gone further
    QCoreApplication::processEvents();
}

int FakeClock::activeTimers() const
{
    int n = 0;
    for (const auto &timer : m_timers) {
        n += timer && timer->m_active ? 1 : 0;
    }
    return n;
}

FakeClockTimer::FakeClockTimer(FakeClock &clock, QObject *parent)
    : ClockTimer(parent)
    , m_clock(clock)
{ }

void FakeClockTimer::start(int intervalMs)
{
    m_interval = intervalMs;
    m_due = m_clock.m_now.addMSecs(intervalMs);
    m_active = true;
}
