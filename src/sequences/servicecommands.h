#pragma once

#include <QObject>

class CallRangeView;
class ProgramContext;
class ServiceCommandsView;
class TestHost;

// The operator's direct commands: the reset, the two calls and the technological
// modes 1 and 2. They show their effects through ServiceCommandsView and ask for a
// call's range through CallRangeView.
class ServiceCommands : public QObject
{
    Q_OBJECT
public:
    static constexpr int AlarmWatchMs = 500;

    ServiceCommands(ProgramContext &context, TestHost &host, ServiceCommandsView &view,
        CallRangeView &callRange, QObject *parent = nullptr);

    void IResetClick();
    // Call 1 (tag 0) or call 2 (tag 1) on a range chosen in the call range dialog;
    // repeated once when an amplifier alarm comes within half a second.
    void ICall1Click(int tag);
    void N8Click();
    void N9Click();

private:
    void sendCall(int range, int tag);
    void startTechnologicalMode(int testNumber);

    ProgramContext &m_context;
    TestHost &m_host;
    ServiceCommandsView &m_view;
    CallRangeView &m_callRange;
};
