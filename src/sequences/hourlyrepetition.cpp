#include "sequences/hourlyrepetition.h"

#include "context/programcontext.h"
#include "sequences/radiotest23.h"
#include "sequences/selftestsequence.h"
#include "sequences/testhost.h"
#include "shared/clock.h"
#include "shared/testsession.h"

HourlyRepetition::HourlyRepetition(ProgramContext &context, TestHost &host, RadioTest23 &radioTest,
    SelfTestSequence &selfTest, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_session(context.session)
    , m_host(host)
    , m_radioTest(radioTest)
    , m_selfTest(selfTest)
    , m_timer(context.clock.createTimer(this))
{
    m_timer->setSingleShot(true); // each tick decides when the next one comes
    connect(m_timer.get(), &ClockTimer::timeout, this, &HourlyRepetition::Timer1Timer);
    connect(&m_radioTest, &RadioTest23::finished, this, &HourlyRepetition::selfTestAfterRadioTest);
    m_timer->start(PollMs);
}

HourlyRepetition::~HourlyRepetition() = default;

void HourlyRepetition::NT2Click(bool checked)
{
    itemClicked(2, checked);
}

void HourlyRepetition::NT3Click(bool checked)
{
    itemClicked(3, checked);
}

void HourlyRepetition::itemClicked(int test, bool checked)
{
    // At most one of the two is chosen; unchecking the other item changes nothing.
    if (checked) {
        m_session.chooseHourlyTest(test);
    } else if (m_session.hourlyTest() == test) {
        m_session.chooseHourlyTest(0);
    }
    m_timer->start(AfterClickMs);
}

void HourlyRepetition::Timer1Timer()
{
    m_timer->stop();
    const int radioTest = m_session.hourlyTest();
    const bool hourlySelfTest = m_context.station.params.HourlySelfTest();
    // The items are the access code holder's; a choice made while the code was given
    // rests while it is not.
    const bool access = m_context.station.params.AccessGranted();
    if (!hourlySelfTest && !(access && radioTest != 0)) {
        m_timer->start(m_timer->interval());
        return;
    }
    if (m_session.busy() || !m_context.sender.portOpen()) {
        m_timer->start(BusyRetryMs); // nothing of a test in hand is touched
        return;
    }
    if (radioTest != 0) {
        if (!startRadioTest(radioTest)) {
            m_timer->start(PollMs);
            return;
        }
        // A self-test that is due as well follows the radio test.
        m_selfTestPending = hourlySelfTest;
    } else {
        m_selfTest.ITest1Click();
    }
    m_timer->start(HourMs);
}

bool HourlyRepetition::startRadioTest(int test)
{
    StationData &station = m_context.station;
    station.test.SelectedTest = test;
    m_host.ClearMessageGrid();
    m_context.recorder.ClearMeasurements();
    if (!m_settings) {
        m_settings = m_radioTest.PrepareTest23();
        if (!m_settings) {
            // Without settings there is nothing to repeat: the item says so too.
            m_session.chooseHourlyTest(0);
            m_host.AddLineWithoutRange(
                QStringLiteral("Тест %1 раз в час отключен: параметры теста не заданы").arg(test));
            return false;
        }
    }
    m_radioTest.start(*m_settings);
    return true;
}

void HourlyRepetition::selfTestAfterRadioTest()
{
    if (std::exchange(m_selfTestPending, false)) {
        m_selfTest.ITest1Click();
    }
}

void HourlyRepetition::N2Click(const std::function<void()> &showParameters)
{
    const bool wasRunning = m_timer->isActive();
    m_timer->stop();
    showParameters();
    // A chosen radio test goes on whatever the service word says now; with nothing to
    // repeat the timer rests until an item is clicked.
    if (!m_context.station.params.HourlySelfTest() && m_session.hourlyTest() == 0) {
        return;
    }
    m_timer->start(wasRunning ? m_timer->interval() : AfterParametersMs);
}
