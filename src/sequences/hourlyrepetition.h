#pragma once

#include "sequences/testparametersview.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class ClockTimer;
class ProgramContext;
class RadioTest23;
class SelfTestSequence;
class TestHost;
class TestSession;

// Repeats radio test 2 or 3 once an hour (the session's hourly choice, which the
// menu items NT2 and NT3 show) with settings asked for once, and the self-test when
// the service word asks for it. Timer1 polls every 2 seconds until a repetition is
// due; while the session is busy or no port is open it waits in steps of 20 seconds.
class HourlyRepetition : public QObject
{
    Q_OBJECT
public:
    static constexpr int PollMs = 2000;
    static constexpr int AfterClickMs = 1000;
    static constexpr int BusyRetryMs = 20000;
    static constexpr int HourMs = 3600000;
    static constexpr int AfterParametersMs = 1500;

    HourlyRepetition(ProgramContext &context, TestHost &host, RadioTest23 &radioTest,
        SelfTestSequence &selfTest, QObject *parent = nullptr);
    ~HourlyRepetition() override;

    // The operator has checked or unchecked the item of test 2 (NT2) or 3 (NT3).
    void NT2Click(bool checked);
    void NT3Click(bool checked);
    void Timer1Timer();
    // Shows the parameters window with the timer held, and re-arms the timer
    // afterwards when anything is to be repeated.
    void N2Click(const std::function<void()> &showParameters);

    ClockTimer &timer() { return *m_timer; }

private:
    void itemClicked(int test, bool checked);
    bool startRadioTest(int test);
    void selfTestAfterRadioTest();

    ProgramContext &m_context;
    TestSession &m_session;
    TestHost &m_host;
    RadioTest23 &m_radioTest;
    SelfTestSequence &m_selfTest;
    std::unique_ptr<ClockTimer> m_timer;
    std::optional<TestRequest> m_settings; // asked for once
    bool m_selfTestPending = false;
};
