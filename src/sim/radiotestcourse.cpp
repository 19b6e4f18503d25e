#include "sim/radiotestcourse.h"

#include "link/commands.h"
#include "link/ranges.h"
#include "sim/parameterset.h"
#include "sim/stationcodes.h"

#include <algorithm>
#include <memory>

namespace {

using StationFrames::Frame;
using StationFrames::Nibbles;

constexpr Band TestedBands[] = { Band::Dmv, Band::Mv, Band::Gmv };

// The radio's blocks whose factory numbers the station reads.
constexpr int FirstBlock = 10;
constexpr int BlockCount = 4;

// Pauses of the steps, at speed 1.
constexpr int StepMs = 1000;
constexpr int ShortStepMs = 400;

// The range the station uses for a band: the chosen one for its own band, for the
// others the standby channel of the service word.
int RangeForBand(Band band, const RadioTestSetup &setup, const SimParameterSet &params)
{
    if (BandOfRange(setup.range) == band) {
        return setup.range;
    }
    switch (band) {
    case Band::Gmv:
        return std::clamp(params.gmvStandbyChannel(), 1, 2);
    case Band::Mv:
        return RangeMV1 - 1 + std::clamp(params.mvStandbyChannel(), 1, 4);
    case Band::Dmv:
        break;
    }
    return RangeDMV;
}

void AddBandSteps(Course &course, Band band, int range, const RadioTestSetup &setup)
{
    const BandCodes &codes = CodesOfBand(band);
    const bool loco = setup.kind == NumberKind::Loco;
    course.then(StepMs, StatusByte(StationCode::RangeBase + range))
        .then(ShortStepMs, StatusByte(codes.transmitOn))
        .then(StepMs, StatusByte(loco ? codes.locoMessage : codes.trainMessage));
    if (setup.faults.bandFaulty(band)) {
        // The radio's answer did not match: the signals of the band are not heard.
        course.then(StepMs,
            StatusByte(
                loco ? StationCode::LocoMessageMismatch : StationCode::ControlMessageMismatch));
    } else {
        course.then(StepMs,
            StatusByte(loco ? StationCode::LocoMessageMatch : StationCode::ControlMessageMatch));
        for (std::uint8_t tone : codes.tones) {
            course.then(StepMs, StatusByte(tone));
        }
    }
    course.then(ShortStepMs, StatusByte(codes.transmitOff));
}

QByteArray NumberFrames(const RadioTestSetup &setup)
{
    Nibbles train {};
    if (setup.test == TestNumber::RadioTest3) {
        // Test 3 also carries the radio's own test-1 code in the train number frame.
        train[0] = 9;
        train[1] = 7;
        train[7] = setup.faults.result[6];
    }
    StationFrames::PutDigits(train, 2, setup.train, 4);
    Nibbles loco { 1 };
    StationFrames::PutDigits(loco, 1, setup.loco, 7);
    return Frame(StationCode::TrainNumberFrame, train) + Frame(StationCode::LocoNumberFrame, loco);
}

// A factory number of each block, made from the locomotive number so that one
// locomotive always reports the same blocks.
QByteArray FactoryNumberFrames(const QString &loco)
{
    const int base = StationFrames::DecimalValue(loco);
    QByteArray bytes;
    for (int block = FirstBlock; block < FirstBlock + BlockCount; ++block) {
        bytes += FactoryNumberFrame(block, (base * (block + 7) + block * 1234) % 10000);
    }
    return bytes;
}

QByteArray SensitivityFrame(
    const SimParameterSet &params, const InjectedFaults &faults, const Correction &correction)
{
    // Verdict characters: 0 not measured, even normal, odd faulty.
    Nibbles n { 0, StationCode::Sensitivity };
    if (!params.bandBlocked(Band::Mv)) {
        n[2] = faults.bandFaulty(Band::Mv) ? 1 : 2;
        StationFrames::PutTwoDigits(n, 3, params.mvAttenuation() + correction.mv);
    }
    if (!params.bandBlocked(Band::Gmv)) {
        n[5] = faults.bandFaulty(Band::Gmv) ? 1 : 2;
        StationFrames::PutTwoDigits(n, 6, params.gmvAttenuation() + correction.gmv);
    }
    return Frame(StationCode::MeasurementFrame, n);
}

QByteArray ResultFrame(int test, const InjectedFaults &faults)
{
    Nibbles n {};
    std::copy(faults.result.begin(), faults.result.end(), n.begin());
    n[7] = static_cast<std::uint8_t>(test);
    return Frame(StationCode::TestFrame, n);
}

int MeasuredDeviation(const SimParameterSet &params, Band band, bool faulty, int round)
{
    int low = std::min(params.lowerThreshold(band), params.upperThreshold(band));
    int high = std::max(params.lowerThreshold(band), params.upperThreshold(band));
    if (high == 0) {
        // No thresholds set: the usual limits.
        low = 30;
        high = 50;
    }
    if (faulty) {
        return high + 8;
    }
    return std::clamp((low + high) / 2 + round % 5 - 2, low, high);
}

} // namespace

QByteArray DeviationFrame(const SimParameterSet &params, const InjectedFaults &faults, int round)
{
    Nibbles n { 0, StationCode::Deviations };
    int at = 2;
    for (Band band : TestedBands) {
        if (!params.bandBlocked(band)) {
            StationFrames::PutTwoDigits(
                n, at, MeasuredDeviation(params, band, faults.deviationFaulty(band), round));
        }
        at += 2;
    }
    return Frame(StationCode::MeasurementFrame, n);
}

QByteArray FactoryNumberFrame(int block, int factoryNumber)
{
    const int high = factoryNumber / 100 % 100;
    const int low = factoryNumber % 100;
    Nibbles n {};
    StationFrames::PutTwoDigits(n, 0, block);
    StationFrames::PutTwoDigits(n, 2, high);
    StationFrames::PutTwoDigits(n, 4, low);
    StationFrames::PutTwoDigits(n, 6, (high + low + block) % 100);
    return Frame(StationCode::FactoryNumberFrame, n);
}

Course RadioTestCourse(const RadioTestSetup &setup, const SimParameterSet &params,
    std::function<Correction()> correction)
{
    Course course;
    course.then(300, StatusByte(StationCode::Busy));
    if (setup.faults.noConfirmation) {
        return course.then(1500, StatusByte(StationCode::NoConfirmation))
            .then(StepMs, StatusByte(StationCode::Free));
    }
    course.then(700, StatusByte(StationCode::RequestAccepted))
        .then(800, NumberFrames(setup))
        .then(600, StatusByte(StationCode::CorrectionRequest));

    if (setup.test == TestNumber::RadioTest1) {
        const Band band = BandOfRange(setup.range);
        auto round = std::make_shared<int>(0);
        course.loopHere();
        if (!params.bandBlocked(band)) {
            AddBandSteps(course, band, setup.range, setup);
        }
        course.then(800, [params, faults = setup.faults, round] {
            return DeviationFrame(params, faults, (*round)++);
        });
        return course;
    }

    for (Band band : TestedBands) {
        if (!params.bandBlocked(band)) {
            AddBandSteps(course, band, RangeForBand(band, setup, params), setup);
        }
    }
    if (params.lowFrequencyCheck()) {
        course.then(StepMs, StatusByte(StationCode::LowFrequencyCheck));
    }
    if (!setup.faults.noFactoryNumbers) {
        course.then(ShortStepMs, FactoryNumberFrames(setup.loco));
    }
    if (setup.test == TestNumber::RadioTest2) {
        course.then(800, DeviationFrame(params, setup.faults, 0));
    }
    course.then(800, [params, faults = setup.faults, correction] {
        return SensitivityFrame(params, faults, correction ? correction() : Correction {});
    });
    return course.then(StepMs, ResultFrame(setup.test, setup.faults))
        .then(1500, StatusByte(StationCode::Free));
}
