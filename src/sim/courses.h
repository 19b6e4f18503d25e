#pragma once

#include "sim/course.h"
#include "sim/faults.h"

#include <QString>

class SimParameterSet;

// The station's self-test: busy, the needle steps, the result frame 0xE2 of test 1
// a few seconds later, free.
Course SelfTestCourse(const InjectedFaults &faults);

// Call 1 or 2 on a range: the range, the band's transmitter keyed, with alarm an
// amplifier alarm within 500 ms, the call received, the transmitter released.
Course CallCourse(int range, int call, bool alarm);

// Technological mode 1: busy, then the ЛИУ measurement every second until the reset.
Course LiuModeCourse();

// Technological mode 2: busy, then the deviations of the bands every second until
// the reset.
Course DeviationModeCourse(const SimParameterSet &params);

// The special mode: busy, then the two results 0xF0 and 0xF2 every few seconds
// until the reset.
Course SpecialModeCourse(const QString &loco, const QString &info);

// The reset: the transmitters that are keyed released, free, then the parameter set.
Course ResetCourse(const SimParameterSet &params, const QByteArray &transmittersOff);
