#include "shared/testsession.h"

#include "shared/teststate.h"

TestSession::TestSession(TestState &state, QObject *parent)
    : QObject(parent)
    , m_state(state)
{ }

void TestSession::beginSetUp(int test)
{
    m_setUp = test;
}

void TestSession::endSetUp()
{
    m_setUp = 0;
}

void TestSession::beginRun(int test)
{
    m_running = test;
}

void TestSession::endRun()
{
    m_running = 0;
    m_state.StationBusy = false;
}

bool TestSession::busy() const
{
    return m_setUp != 0 || m_running != 0 || m_state.StationBusy;
}

void TestSession::chooseHourlyTest(int test)
{
    if (test == m_hourlyTest) {
        return;
    }
    m_hourlyTest = test;
    Q_EMIT hourlyTestChanged(test);
}
