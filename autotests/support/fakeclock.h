#pragma once

#include "shared/clock.h"

#include <QList>
#include <QPointer>

class FakeClockTimer;

// A clock that stands still until the test advances it; timers fire during
// advance(), in the order of their due times, with now() at each due time.
class FakeClock final : public Clock
{
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 12, 10), QTime(10, 0)));

    QDateTime now() const override { return m_now; }
    std::unique_ptr<ClockTimer> createTimer(QObject *parent = nullptr) override;

    void setNow(const QDateTime &now) { m_now = now; }

    // Moves time forward by ms, firing every timer that falls due on the way.
    void advance(qint64 ms);

    int activeTimers() const;

private:
    friend class FakeClockTimer;
    QDateTime m_now;
    QList<QPointer<FakeClockTimer>> m_timers;
};

class FakeClockTimer final : public ClockTimer
{
public:
    FakeClockTimer(FakeClock &clock, QObject *parent);

    void start(int intervalMs) override;
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }
    int interval() const override { return m_interval; }
    void setSingleShot(bool singleShot) override { m_singleShot = singleShot; }

private:
    friend class FakeClock;
    FakeClock &m_clock;
    QDateTime m_due;
    int m_interval = 0;
    bool m_singleShot = false;
    bool m_active = false;
};
