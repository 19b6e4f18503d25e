#include "sim/station.h"

#include "link/commands.h"
#include "link/ranges.h"
#include "shared/clock.h"
#include "shared/codecs.h"
#include "sim/courses.h"
#include "sim/linenoise.h"
#include "sim/stationcodes.h"

#include <utility>

namespace {

// The locomotive radio on the bench, until the PC names another one.
const QString BenchTrain = QStringLiteral("2416");
const QString BenchLoco = QStringLiteral("0031452");

constexpr int NoiseBytes = 40;
constexpr Band Bands[] = { Band::Dmv, Band::Mv, Band::Gmv };

QString CellsText(const MessageFrame &frame, int from, int to)
{
    QString text;
    for (int i = from; i < to; ++i) {
        text.append(NibbleToHexChar(frame.Nibble[i]));
    }
    return text;
}

} // namespace

SimStation::SimStation(Clock &clock, Options options, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_player(clock, options.speed)
    , m_assembler(*this, m_receivedLog)
    , m_random(QRandomGenerator::securelySeeded())
    , m_autoTimer(clock.createTimer(this))
    , m_train(BenchTrain)
    , m_loco(BenchLoco)
    , m_info(QStringLiteral("00000000"))
{
    connect(&m_player, &CoursePlayer::bytesDue, this, &SimStation::send);
    connect(m_autoTimer.get(), &ClockTimer::timeout, this, &SimStation::autoTestDue);
}

SimStation::~SimStation() = default;

void SimStation::receive(const QByteArray &bytes)
{
    if (!m_answering) {
        return;
    }
    for (char b : bytes) {
        m_assembler.HandleReceivedByte(static_cast<std::uint8_t>(b));
    }
}

bool SimStation::reportSelfTest()
{
    if (busy()) {
        return false;
    }
    m_player.play(SelfTestCourse(takeFaults()));
    return true;
}

bool SimStation::reportRadioTest(int test)
{
    if (busy() || (test != TestNumber::RadioTest2 && test != TestNumber::RadioTest3)) {
        return false;
    }
    // The radio calls in by itself: the station learns both numbers from it.
    RadioTestSetup setup;
    setup.range = m_range;
    setup.kind = NumberKind::Loco;
    setup.train = BenchTrain;
    setup.loco = BenchLoco;
    startRadioTest(test, setup);
    return true;
}

bool SimStation::injectFault(int position, int value)
{
    if (position == 0) {
        m_faults = {};
        return true;
    }
    if (position == InjectedFaults::NoConfirmationPosition) {
        m_faults.noConfirmation = true;
        return true;
    }
    if (position < 1 || position > InjectedFaults::ResultCells || value < 1 || value > 15) {
        return false;
    }
    m_faults.result[position - 1] = static_cast<std::uint8_t>(value);
    return true;
}

void SimStation::setAnswering(bool answering)
{
    m_answering = answering;
}

void SimStation::reportBusy()
{
    send(StatusByte(StationCode::Busy));
}

void SimStation::reportFree()
{
    send(StatusByte(StationCode::Free));
}

void SimStation::sendNoise()
{
    send(LineNoise(m_random, NoiseBytes));
}

void SimStation::setAutoTest(int seconds)
{
    if (seconds <= 0) {
        m_autoTimer->stop();
        return;
    }
    m_autoTimer->start(seconds * 1000);
}

void SimStation::autoTestDue()
{
    if (reportRadioTest(m_nextAutoTest)) {
        m_nextAutoTest = m_nextAutoTest == TestNumber::RadioTest2 ? TestNumber::RadioTest3
                                                                  : TestNumber::RadioTest2;
    }
}

void SimStation::HandleStatusCode(std::uint8_t code)
{
    if (code >= StationCode::RangeBase && code < StationCode::RangeBase + RangeCount) {
        m_range = code - StationCode::RangeBase;
        return;
    }
    switch (code) {
    case CommandByte::Reset:
        reset();
        break;
    case CommandByte::Call1:
    case CommandByte::Call2:
        m_player.play(CallCourse(m_range, code - CommandByte::Call1 + 1, m_options.alarm));
        break;
    default:
        break; // the PC sends no other single bytes
    }
}

void SimStation::DispatchFrame(const MessageFrame &frame)
{
    if (frame.Count != MessageFrame::NibbleCells || m_parameters.take(frame)) {
        return;
    }
    switch (frame.Code) {
    case StationCode::TestFrame:
        startTest(frame.Nibble[7]);
        break;
    case StationCode::TrainNumberFrame:
        m_train = CellsText(frame, 2, 6);
        m_numberKind = NumberKind::Train;
        break;
    case StationCode::LocoNumberFrame:
        m_loco = CellsText(frame, 1, 8);
        m_numberKind = NumberKind::Loco;
        break;
    case StationCode::InfoFrame:
        // The information frame ends the special mode's start command.
        m_info = CellsText(frame, 0, 8);
        m_player.play(SpecialModeCourse(m_loco, m_info));
        break;
    case StationCode::CorrectionFrame:
        m_correction.mv = frame.Nibble[4] * 10 + frame.Nibble[5];
        m_correction.gmv = frame.Nibble[6] * 10 + frame.Nibble[7];
        break;
    default:
        break;
    }
}

void SimStation::startTest(int test)
{
    switch (test) {
    case TestNumber::SelfTest:
        m_player.play(SelfTestCourse(takeFaults()));
        break;
    case TestNumber::RadioTest1:
    case TestNumber::RadioTest2:
    case TestNumber::RadioTest3: {
        RadioTestSetup setup;
        setup.range = m_range;
        setup.kind = m_numberKind;
        setup.train = m_train;
        setup.loco = m_loco;
        startRadioTest(test, setup);
        break;
    }
    case TestNumber::TechMode1:
        m_player.play(LiuModeCourse());
        break;
    case TestNumber::TechMode2:
        m_player.play(DeviationModeCourse(m_parameters));
        break;
    default:
        break; // no such test
    }
}

void SimStation::startRadioTest(int test, RadioTestSetup setup)
{
    setup.test = test;
    setup.faults = takeFaults();
    m_correction = {};
    m_player.play(RadioTestCourse(setup, m_parameters, [this] { return m_correction; }));
}

void SimStation::reset()
{
    QByteArray off;
    for (Band band : Bands) {
        if (m_transmitting[static_cast<int>(band)]) {
            off += StatusByte(CodesOfBand(band).transmitOff);
        }
    }
    m_player.play(ResetCourse(m_parameters, off));
}

void SimStation::send(const QByteArray &bytes)
{
    // The station keeps track of its transmitters so that a reset releases them.
    for (char c : bytes) {
        for (Band band : Bands) {
            const BandCodes &codes = CodesOfBand(band);
            const auto b = static_cast<std::uint8_t>(c);
            if (b == codes.transmitOn || b == codes.transmitOff) {
                m_transmitting[static_cast<int>(band)] = b == codes.transmitOn;
            }
        }
    }
    Q_EMIT transmit(bytes);
}

InjectedFaults SimStation::takeFaults()
{
    return std::exchange(m_faults, {});
}
