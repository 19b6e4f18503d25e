#pragma once

#include "sim/course.h"

#include <QObject>

#include <memory>

class Clock;
class ClockTimer;

// Plays a course on a clock: waits each step's pause, shortened by the speed
// factor, then hands its bytes on. Starting a course replaces the one playing.
class CoursePlayer : public QObject
{
    Q_OBJECT
public:
    CoursePlayer(Clock &clock, double speed, QObject *parent = nullptr);
    ~CoursePlayer() override;

    void play(Course course);
    void stop();
    bool isPlaying() const;

    // A pause at speed 1 as it is waited at this player's speed.
    int scaled(int pauseMs) const;

Q_SIGNALS:
    void bytesDue(const QByteArray &bytes);

private:
    void stepDue();
    void scheduleNext();

    std::unique_ptr<ClockTimer> m_timer;
    double m_speed;
    Course m_course;
    int m_next = 0;
    quint64 m_generation = 0;
    bool m_playing = false;
};
