#include "sim/courses.h"

#include "link/commands.h"
#include "sim/parameterset.h"
#include "sim/radiotestcourse.h"
#include "sim/stationcodes.h"

#include <algorithm>
#include <memory>

namespace {

using StationFrames::Frame;
using StationFrames::Nibbles;

constexpr int NeedleSteps = 10;
constexpr int MeasurementMs = 1000;
constexpr int SpecialResultMs = 3000;
// The alarm comes while the PC still waits after its call (500 ms).
constexpr int AlarmMs = 150;

} // namespace

Course SelfTestCourse(const InjectedFaults &faults)
{
    Course course;
    course.then(200, StatusByte(StationCode::Busy));
    for (int i = 0; i < NeedleSteps; ++i) {
        course.then(400, StatusByte(StationCode::NeedleStep));
    }
    Nibbles result {};
    std::copy(faults.result.begin(), faults.result.end(), result.begin());
    result[7] = TestNumber::SelfTest;
    return course.then(500, Frame(StationCode::TestFrame, result))
        .then(1000, StatusByte(StationCode::Free));
}

Course CallCourse(int range, int call, bool alarm)
{
    const BandCodes &codes = CodesOfBand(BandOfRange(range));
    Course course;
    course.then(50, StatusByte(StationCode::RangeBase + range) + StatusByte(codes.transmitOn));
    if (alarm) {
        course.then(AlarmMs, StatusByte(codes.amplifierAlarm));
    }
    return course
        .then(1500, StatusByte(call == 1 ? StationCode::CallReceived1 : StationCode::CallReceived2))
        .then(1000, StatusByte(codes.transmitOff));
}

Course LiuModeCourse()
{
    Course course;
    course.then(300, StatusByte(StationCode::Busy)).loopHere();
    auto round = std::make_shared<int>(0);
    return course.then(MeasurementMs, [round] {
        const int liu = 118 + (*round)++ % 9;
        return Frame(StationCode::MeasurementFrame,
            { 0, StationCode::Liu, 0, static_cast<std::uint8_t>(liu / 100),
                static_cast<std::uint8_t>(liu / 10 % 10), static_cast<std::uint8_t>(liu % 10) });
    });
}

Course DeviationModeCourse(const SimParameterSet &params)
{
    Course course;
    course.then(300, StatusByte(StationCode::Busy)).loopHere();
    auto round = std::make_shared<int>(0);
    return course.then(MeasurementMs,
        [params, round] { return DeviationFrame(params, InjectedFaults {}, (*round)++); });
}

Course SpecialModeCourse(const QString &loco, const QString &info)
{
    Nibbles first {};
    StationFrames::PutDigits(first, 0, info, 8);
    Nibbles second {};
    StationFrames::PutDigits(second, 2, QStringView(loco).right(6), 6);

    Course course;
    course.then(300, StatusByte(StationCode::Busy)).loopHere();
    auto round = std::make_shared<int>(0);
    // The first result is the information as the radio took it, the second the
    // locomotive's reply with a running number of the exchange.
    course.then(SpecialResultMs, Frame(StationCode::SpecialResult1Frame, first));
    return course.then(500, [second, round]() mutable {
        second[0] = static_cast<std::uint8_t>((*round)++ % 10);
        return Frame(StationCode::SpecialResult2Frame, second);
    });
}

Course ResetCourse(const SimParameterSet &params, const QByteArray &transmittersOff)
{
    Course course;
    course.then(100, transmittersOff + StatusByte(StationCode::Free));
    int pause = 300;
    for (const QByteArray &frame : params.reportFrames()) {
        course.then(pause, frame);
        pause = 100;
    }
    return course;
}
