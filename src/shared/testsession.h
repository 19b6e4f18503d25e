#pragma once

#include <QObject>

struct TestState;

// Who the station's tests belong to at this moment: the test whose settings dialog
// is open, the test whose wait runs, and the test the hourly repetition repeats.
// Tests are named by their numbers in the station's protocol (TestNumber). The
// sequences tell it when a set-up or a wait begins and ends; the hourly repetition
// asks it before it starts anything, and the menu's check marks follow its choice.
class TestSession : public QObject
{
    Q_OBJECT
public:
    explicit TestSession(TestState &state, QObject *parent = nullptr);

    // The settings dialog of test is open (the operator's or the hourly repetition's).
    void beginSetUp(int test);
    // The dialog has closed; a confirmed test begins its run at once.
    void endSetUp();
    int testInSetUp() const { return m_setUp; }

    // A test's wait begins: one started from the PC, or one the station reports on
    // its own (also while a dialog is open, which stays set up).
    void beginRun(int test);
    // The wait has ended. The station's busy report belonged to it.
    void endRun();
    int runningTest() const { return m_running; }

    // A test is being set up or runs, or the station reported itself busy since it
    // was last free: nothing may start a test on its own now.
    bool busy() const;

    // The radio test repeated once an hour: 2, 3, or 0 for none.
    int hourlyTest() const { return m_hourlyTest; }
    void chooseHourlyTest(int test);

Q_SIGNALS:
    void hourlyTestChanged(int test);

private:
    TestState &m_state;
    int m_setUp = 0;
    int m_running = 0;
    int m_hourlyTest = 0;
};
