#pragma once

#include "tests/testclock.h"

#include <QObject>

#include <memory>

class ProgramContext;
class TFTestDlg;
class TestHost;
struct MainFormControls;

// Radio test 1: the station works with the locomotive's radio for 70 seconds while
// the gauge of the results panel shows their passing; then, or on "Отмена", the
// station is reset. It writes no row.
class RadioTest1 : public QObject
{
    Q_OBJECT
public:
    static constexpr int DurationSeconds = 70;
    static constexpr int PollMs = TestWait::PollMs;

    RadioTest1(ProgramContext &context, TestHost &host, TFTestDlg &dialog,
        const MainFormControls &window, QObject *parent = nullptr);
    ~RadioTest1() override;

    void ToolButton1Click();
    bool PrepareTest1();
    void TestBegin1();
    void BitBtn5Click();

    bool running() const { return m_wait.running(); }

private:
    void pass();
    void end();

    ProgramContext &m_context;
    TestHost &m_host;
    TFTestDlg &m_dialog;
    const MainFormControls &m_window;
    TestWait m_wait;
};
