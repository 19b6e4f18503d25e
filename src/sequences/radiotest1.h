#pragma once

#include "sequences/testwait.h"

#include <QObject>

#include <optional>

class ProgramContext;
class RadioTest1View;
class TestHost;
class TestParametersView;
struct TestRequest;

// Radio test 1: the station works with the locomotive's radio for 70 seconds while
// the gauge of the results panel shows their passing; then, or on "Отмена", the
// station is reset. It writes no row. It asks for its settings through
// TestParametersView and shows its course through RadioTest1View.
class RadioTest1 : public QObject
{
    Q_OBJECT
public:
    static constexpr int DurationSeconds = 70;
    static constexpr int PollMs = TestWait::PollMs;

    RadioTest1(ProgramContext &context, TestHost &host, TestParametersView &parameters,
        RadioTest1View &view, QObject *parent = nullptr);
    ~RadioTest1() override;

    void ToolButton1Click();
    // Asks for the settings while the session marks the test as being set up.
    std::optional<TestRequest> PrepareTest1();
    void TestBegin1(const TestRequest &request);
    void BitBtn5Click();

    bool running() const { return m_wait.running(); }

private:
    void pass();
    void end();

    ProgramContext &m_context;
    TestHost &m_host;
    TestParametersView &m_parameters;
    RadioTest1View &m_view;
    TestWait m_wait;
};
