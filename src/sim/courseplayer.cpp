#include "sim/courseplayer.h"

#include "shared/clock.h"

#include <cmath>

CoursePlayer::CoursePlayer(Clock &clock, double speed, QObject *parent)
    : QObject(parent)
    , m_timer(clock.createTimer(this))
    , m_speed(speed)
{
    m_timer->setSingleShot(true);
    connect(m_timer.get(), &ClockTimer::timeout, this, &CoursePlayer::stepDue);
}

CoursePlayer::~CoursePlayer() = default;

void CoursePlayer::play(Course course)
{
    ++m_generation;
    m_course = std::move(course);
    m_next = 0;
    m_playing = true;
    scheduleNext();
}

void CoursePlayer::stop()
{
    m_timer->stop();
    m_playing = false;
}

bool CoursePlayer::isPlaying() const
{
    return m_playing;
}

int CoursePlayer::scaled(int pauseMs) const
{
    return static_cast<int>(std::lround(pauseMs / m_speed));
}

void CoursePlayer::scheduleNext()
{
    if (m_next >= m_course.steps.size()) {
        if (m_course.loopFrom == Course::NoLoop || m_course.loopFrom >= m_course.steps.size()) {
            m_playing = false;
            return;
        }
        m_next = m_course.loopFrom;
    }
    m_timer->start(scaled(m_course.steps[m_next].pauseMs));
}

void CoursePlayer::stepDue()
{
    // A receiver of bytesDue may stop this course or start another one; the
    // generation tells whether this course is still the one to go on with.
    const quint64 generation = m_generation;
    const CourseStep step = m_course.steps[m_next++];
    const QByteArray bytes = step.bytes();
    if (!bytes.isEmpty()) {
        Q_EMIT bytesDue(bytes);
    }
    if (m_playing && generation == m_generation) {
        scheduleNext();
    }
}
