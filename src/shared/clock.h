#pragma once

#include <QDateTime>
#include <QObject>

#include <functional>
#include <memory>

// A timer whose time comes from a Clock, so that tests can run a two-minute wait,
// an hourly repetition or a midnight crossing without waiting for it.
class ClockTimer : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts (or restarts) the timer; it fires after intervalMs and, unless it is
    // single-shot, every intervalMs after that.
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual int interval() const = 0;
    virtual void setSingleShot(bool singleShot) = 0;

Q_SIGNALS:
    void timeout();
};

// The program's source of wall-clock time and timers.
class Clock
{
public:
    virtual ~Clock() = default;

    // Local date and time of day.
    virtual QDateTime now() const = 0;
    virtual std::unique_ptr<ClockTimer> createTimer(QObject *parent = nullptr) = 0;
};

// Seconds from one time of day to another, rounded to whole seconds; a negative
// difference (the later time lies past midnight) has a day added.
int ElapsedSecondsOfDay(const QTime &from, const QTime &to);

// Runs fn once after ms milliseconds of the clock, unless context is destroyed first.
// This is how the program waits without blocking: the event loop runs meanwhile.
void CallAfter(Clock &clock, int ms, QObject *context, std::function<void()> fn);

// The real clock: the system time and QTimer.
class SystemClock final : public Clock
{
public:
    QDateTime now() const override;
    std::unique_ptr<ClockTimer> createTimer(QObject *parent = nullptr) override;
};
