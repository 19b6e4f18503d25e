#pragma once

#include "tests/testclock.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class ProgramContext;
class RadioTestView;
class TFTestDlg;
class TestHost;
struct MessageFrame;

// Radio tests 2 and 3: started from the PC (the operator or the hourly repetition)
// or shown when the station reports one on its own (Test2). The wait lasts up to
// 115 seconds on a timer; a result, or "Нет подтверждения", ends it at once. Every
// ending but a cancel writes one row, the factory numbers first.
class RadioTest23 : public QObject
{
    Q_OBJECT
public:
    static constexpr int TimeLimitSeconds = 115;
    static constexpr int PollMs = TestWait::PollMs;

    RadioTest23(ProgramContext &context, TestHost &host, TFTestDlg &dialog, RadioTestView &view,
        QObject *parent = nullptr);
    ~RadioTest23() override;

    // Saves the factory numbers received during the test; called before each row.
    std::function<void()> SaveReceivedFactoryNumbers;

    void ITest2Click();
    void ITest3Click();
    bool PrepareTest23();
    // Sets the panel up for a test started from the PC, by the number kind.
    void showStartedFromPc(bool trainNumberKind);
    void TestBegin(bool trainNumberKind);
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
    void pass();
    Result showResult(const MessageFrame &frame);
    void saveFactoryNumbers();
    void endWait();

    ProgramContext &m_context;
    TestHost &m_host;
    TFTestDlg &m_dialog;
    RadioTestView &m_view;
    TestWait m_wait;
    QString m_direction;
    QString m_event;
};
