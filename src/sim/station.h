#pragma once

#include "link/frameassembler.h"
#include "link/receivehandler.h"
#include "link/trafficlog.h"
#include "sim/courseplayer.h"
#include "sim/faults.h"
#include "sim/parameterset.h"
#include "sim/radiotestcourse.h"

#include <QObject>
#include <QRandomGenerator>

#include <memory>

class Clock;
class ClockTimer;

// The ТЕЛВ-2 station as the PC sees it over the line. It takes the PC's commands
// byte by byte, keeps the parameter set and the numbers the PC sends, and answers
// with courses of status codes and frames played on the clock. The operator of the
// simulator can make it report tests on its own, inject faults or go silent.
class SimStation : public QObject, private ReceiveHandler
{
    Q_OBJECT
public:
    struct Options
    {
        double speed = 1.0; // pauses are divided by it
        bool alarm = false; // an amplifier alarm after every call
    };

    SimStation(Clock &clock, Options options, QObject *parent = nullptr);
    ~SimStation() override;

    // Bytes from the PC.
    void receive(const QByteArray &bytes);

    // The station reports a self-test, or the locomotive radio a test 2 or 3, on
    // its own. Refused (false) while the station is busy with a course.
    bool reportSelfTest();
    bool reportRadioTest(int test);

    // A fault for the next test: position 1..7 of the result code gets value
    // (1..15), position 8 makes the next radio test go unconfirmed; position 0
    // clears every fault asked for. False for a position or value out of range.
    bool injectFault(int position, int value);
    const InjectedFaults &pendingFaults() const { return m_faults; }
    // The next radio test reports no factory numbers.
    void omitFactoryNumbers() { m_faults.noFactoryNumbers = true; }

    // While not answering the station ignores everything the PC sends.
    void setAnswering(bool answering);
    bool answering() const { return m_answering; }

    void reportBusy();
    void reportFree();
    void sendNoise();

    // Every seconds (0: never) the locomotive radio reports a test 2 or 3, taking
    // turns, unless the station is busy then.
    void setAutoTest(int seconds);

    bool busy() const { return m_player.isPlaying(); }
    const SimParameterSet &parameters() const { return m_parameters; }

Q_SIGNALS:
    // Bytes for the PC.
    void transmit(const QByteArray &bytes);

private:
    void HandleStatusCode(std::uint8_t code) override;
    void DispatchFrame(const MessageFrame &frame) override;

    void startTest(int test);
    void startRadioTest(int test, RadioTestSetup setup);
    void reset();
    void send(const QByteArray &bytes);
    InjectedFaults takeFaults();
    void autoTestDue();

    Options m_options;
    CoursePlayer m_player;
    TrafficLog m_receivedLog; // the assembler logs; the station never reads it
    FrameAssembler m_assembler;
    SimParameterSet m_parameters;
    InjectedFaults m_faults;
    Correction m_correction;
    QRandomGenerator m_random;
    std::unique_ptr<ClockTimer> m_autoTimer;

    int m_range = 4;
    NumberKind m_numberKind = NumberKind::Loco;
    QString m_train;
    QString m_loco;
    QString m_info;
    bool m_transmitting[3] = {};
    bool m_answering = true;
    int m_nextAutoTest = 2;
};
