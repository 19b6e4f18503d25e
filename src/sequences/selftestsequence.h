#pragma once

#include "sequences/testwait.h"

#include <QObject>
#include <QString>

class ProgramContext;
class TestWaitView;
class TestHost;

// The station self-test: started from the PC (ITest1Click) or shown when the station
// reports one on its own (Test1). The wait runs on a timer: the gauge moves each
// second, a collected result is shown at once, and after 20 seconds without one the
// test ends with "Нет ответа ". Every ending but a cancel writes one row. It shows
// its course only through TestWaitView and TestHost.
class SelfTestSequence : public QObject
{
    Q_OBJECT
public:
    static constexpr int TimeLimitSeconds = 20;
    static constexpr int PollMs = TestWait::PollMs;

    SelfTestSequence(
        ProgramContext &context, TestHost &host, TestWaitView &view, QObject *parent = nullptr);
    ~SelfTestSequence() override;

    void ITest1Click();
    void Test1();
    void SelfTestWait();
    void BitBtn3Click();

    bool waiting() const { return m_wait.running(); }

private:
    struct Result
    {
        QString code;
        QString verdict;
    };

    void pass();
    Result showResult(const struct MessageFrame &frame);
    void endWait();

    ProgramContext &m_context;
    TestHost &m_host;
    TestWaitView &m_view;
    TestWait m_wait;
};
