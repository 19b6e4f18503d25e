#include "tests/hourlyrepetition.h"

#include "console/mainformcontrols.h"
#include "console/programcontext.h"
#include "link/clock.h"
#include "tests/radiotest23.h"
#include "tests/selftestsequence.h"
#include "tests/testhost.h"
#include "tests/testparametersdialog.h"

#include <QAction>
#include <QMenu>

HourlyRepetition::HourlyRepetition(ProgramContext &context, TestHost &host, RadioTest23 &radioTest,
    SelfTestSequence &selfTest, TFTestDlg &dialog, const MainFormControls &window, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_host(host)
    , m_radioTest(radioTest)
    , m_selfTest(selfTest)
    , m_dialog(dialog)
    , m_window(window)
    , m_timer(context.clock.createTimer(this))
{
    m_timer->setSingleShot(true); // each tick decides when the next one comes
    connect(m_timer.get(), &ClockTimer::timeout, this, &HourlyRepetition::Timer1Timer);
    connect(&m_radioTest, &RadioTest23::finished, this, &HourlyRepetition::selfTestAfterRadioTest);
    m_timer->start(PollMs);
}

HourlyRepetition::~HourlyRepetition() = default;

void HourlyRepetition::NT2Click()
{
    if (m_window.NT2->isChecked()) {
        m_window.NT3->setChecked(false);
    }
    itemClicked();
}

void HourlyRepetition::NT3Click()
{
    if (m_window.NT3->isChecked()) {
        m_window.NT2->setChecked(false);
    }
    itemClicked();
}

void HourlyRepetition::itemClicked()
{
    m_timer->start(AfterClickMs);
}

void HourlyRepetition::Timer1Timer()
{
    m_timer->stop();
    const QAction *nt2 = m_window.NT2;
    const QAction *nt3 = m_window.NT3;
    const bool hourlySelfTest = m_context.station.params.HourlySelfTest();
    // The items are the access code holder's. Their enabled state also goes off while
    // the station is busy, which must delay the repetition, not cancel it: so the
    // access itself is what counts here.
    const bool access = m_context.station.params.AccessGranted();
    const bool due = hourlySelfTest || (access && (nt2->isChecked() || nt3->isChecked()));
    if (!due) {
        m_timer->start(m_timer->interval());
        return;
    }
    if (!m_window.ITest->isEnabled()) {
        m_timer->start(BusyRetryMs); // a test runs or the station is busy
        return;
    }
    // From here the check marks alone count, enabled or not.
    if (nt2->isChecked() || nt3->isChecked()) {
        m_context.station.test.SelectedTest = nt2->isChecked() ? 2 : 3;
        m_host.ClearMessageGrid();
        m_context.recorder.ClearMeasurements();
        if (!m_settings) {
            if (!m_radioTest.PrepareTest23()) {
                return; // the repetition rests until NT2 or NT3 is clicked again
            }
            const CurrentNumbers &numbers = m_context.station.numbers;
            m_settings = Settings { m_dialog.numberKind() == TFTestDlg::TrainNumberKind,
                numbers.TrainNumber, numbers.LocoNumber, m_context.station.CurrentRange };
        }
        startRadioTest();
        // A self-test that is due as well follows the radio test.
        m_selfTestPending = hourlySelfTest;
    } else {
        m_selfTest.ITest1Click();
    }
    m_timer->start(HourMs);
}

void HourlyRepetition::startRadioTest()
{
    m_context.station.CurrentRange = m_settings->range;
    m_context.station.numbers.LocoNumber = m_settings->locoNumber;
    m_context.station.numbers.TrainNumber = m_settings->trainNumber;
    m_radioTest.showStartedFromPc(m_settings->trainNumberKind);
    m_radioTest.TestBegin(m_settings->trainNumberKind);
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
    if (!m_context.station.params.HourlySelfTest()) {
        return; // and with it the repetition of tests 2 and 3, until NT2 or NT3 is clicked
    }
    m_timer->start(wasRunning ? m_timer->interval() : AfterParametersMs);
}
