#pragma once

#include "sim/course.h"
#include "sim/faults.h"

#include <QString>

#include <functional>

class SimParameterSet;

enum class NumberKind { Train, Loco };

// What a radio test works with: the test (2, 3, or 6 for radio test 1), the range the
// PC chose, the number it gave and the numbers the locomotive radio answers with.
struct RadioTestSetup
{
    int test = 2;
    int range = 4;
    NumberKind kind = NumberKind::Loco;
    QString train;
    QString loco;
    InjectedFaults faults;
};

// The attenuation correction the PC answers the request 0xCC with.
struct Correction
{
    int mv = 0;
    int gmv = 0;
};

// Radio test 2 or 3: busy, the request accepted, the numbers, the correction
// request, the test steps of every band not blocked, the factory numbers of the
// radio's blocks, the measurements, the result frame and free. Radio test 1 runs
// the steps of the chosen band with a deviation measurement over and over, without
// a result, until the reset. correction is asked when the sensitivity is reported.
Course RadioTestCourse(const RadioTestSetup &setup, const SimParameterSet &params,
    std::function<Correction()> correction);

// The measured deviations of the three bands (0xEA sub-code 3); round varies the
// values of a repeated measurement within the thresholds.
QByteArray DeviationFrame(const SimParameterSet &params, const InjectedFaults &faults, int round);

// The factory number frame 0xF8 of block number 10..41 with its check value.
QByteArray FactoryNumberFrame(int block, int factoryNumber);
