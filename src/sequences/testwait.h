#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTime>

#include <memory>

class Clock;
class ClockTimer;

// The course of a test wait: a pass every PollMs while it runs, and the whole
// seconds since its start, taken as times of day, so that a wait that crosses
// midnight goes on counting instead of jumping by a day.
class TestWait : public QObject
{
    Q_OBJECT
public:
    static constexpr int PollMs = 100;

    TestWait(Clock &clock, QObject *parent);
    ~TestWait() override;

    // Notes the start and begins the passes.
    void start();
    void stop();
    bool running() const { return m_running; }
    int elapsedSeconds() const;

Q_SIGNALS:
    void pass();

private:
    Clock &m_clock;
    std::unique_ptr<ClockTimer> m_poll;
    QTime m_start;
    bool m_running = false;
};

// The program's short date and the system's long time of a test's start, for its
// status bar.
QString StartStamp(const QDateTime &start);
