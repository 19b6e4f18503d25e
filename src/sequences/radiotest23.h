#pragma once

#include "sequences/testwait.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class ReceivedFactoryDigits;

class ProgramContext;
class RadioTestView;
class TestHost;
class TestParametersView;
struct MessageFrame;
struct TestRequest;

// Radio tests 2 and 3: started from the PC (the operator or the hourly repetition)
// or shown when the station reports one on its own (Test2). The wait lasts up to
// 115 seconds on a timer; a result, or "Нет подтверждения", ends it at once. Every
// ending but a cancel writes one row, the factory numbers first. It asks for its
// settings through TestParametersView and shows its course through RadioTestView.
class RadioTest23 : public QObject
{
    Q_OBJECT
public:
    static constexpr int TimeLimitSeconds = 115;
    static constexpr int PollMs = TestWait::PollMs;

    RadioTest23(ProgramContext &context, TestHost &host, TestParametersView &parameters,
        RadioTestView &view, QObject *parent = nullptr);
    ~RadioTest23() override;

    // Saves the factory numbers received during the test under its locomotive;
    // called before each row.
    std::function<void(ReceivedFactoryDigits &digits, const QString &locoNumber)>
        SaveReceivedFactoryNumbers;

    void ITest2Click();
    void ITest3Click();
    // Asks for the settings of SelectedTest while the session marks it as being set up.
    std::optional<TestRequest> PrepareTest23();
    // Starts SelectedTest from the PC with request's numbers and range.
    void start(const TestRequest &request);
    void Test2();
    void RadioTestWait();
    void BitBtn4Click();

    bool waiting() const { return m_wait.running(); }

Q_SIGNALS:
    // The wait has ended, with a result, without one, or cancelled.
    void finished();

private:
    struct Result
    {
        QString code;
        QString verdict;
    };

    void startFromPc(int test);
    void showStartedFromPc(bool trainNumberKind);
    void TestBegin(const TestRequest &request);
    void pass();
    Result showResult(const MessageFrame &frame);
    void endWait();

    ProgramContext &m_context;
    TestHost &m_host;
    TestParametersView &m_parameters;
    RadioTestView &m_view;
    TestWait m_wait;
    QString m_direction;
    QString m_event;
};
