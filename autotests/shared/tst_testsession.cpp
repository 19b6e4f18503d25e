#include "link/commands.h"
#include "shared/testsession.h"
#include "shared/teststate.h"

#include <QSignalSpy>
#include <QTest>

class TestTestSession : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A test the station reports on its own while the operator fills a dialog ends
    // without freeing the operator's set-up.
    void stationTestInsideASetUpLeavesTheSetUp()
    {
        TestState state;
        TestSession session(state);
        QVERIFY(!session.busy());
        session.beginSetUp(TestNumber::RadioTest3);
        session.beginRun(TestNumber::RadioTest2);
        session.endRun();
        QVERIFY(session.busy());
        QCOMPARE(session.testInSetUp(), TestNumber::RadioTest3);
        session.endSetUp();
        session.beginRun(TestNumber::RadioTest3);
        QVERIFY(session.busy());
        session.endRun();
        QVERIFY(!session.busy());
    }

    void closedDialogFreesTheSession()
    {
        TestState state;
        TestSession session(state);
        session.beginSetUp(TestNumber::RadioTest1);
        QVERIFY(session.busy());
        session.endSetUp();
        QVERIFY(!session.busy());
    }

    // A busy report holds the session until the station is free again or a test
    // ends: the end of a test frees the menus as well.
    void stationBusyLastsUntilATestEnds()
    {
        TestState state;
        TestSession session(state);
        state.StationBusy = true;
        QVERIFY(session.busy());
        session.beginRun(TestNumber::SelfTest);
        session.endRun();
        QVERIFY(!state.StationBusy);
        QVERIFY(!session.busy());
    }

    void hourlyChoiceIsAnnouncedOnChange()
    {
        TestState state;
        TestSession session(state);
        QSignalSpy changed(&session, &TestSession::hourlyTestChanged);
        session.chooseHourlyTest(2);
        session.chooseHourlyTest(2);
        session.chooseHourlyTest(3);
        session.chooseHourlyTest(0);
        QCOMPARE(changed.size(), 3);
        QCOMPARE(changed.at(1).at(0).toInt(), 3);
        QCOMPARE(session.hourlyTest(), 0);
    }
};

QTEST_GUILESS_MAIN(TestTestSession)
#include "tst_testsession.moc"
