#pragma once

#include <QObject>

class ProgramContext;
class TFDiapDlg;
class TestHost;
struct MainFormControls;

// The operator's direct commands: the reset, the two calls and the technological
// modes 1 and 2.
class ServiceCommands : public QObject
{
    Q_OBJECT
public:
    static constexpr int AlarmWatchMs = 500;

    ServiceCommands(ProgramContext &context, TestHost &host, TFDiapDlg &callDialog,
        const MainFormControls &window, QObject *parent = nullptr);

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
    TFDiapDlg &m_callDialog;
    const MainFormControls &m_window;
};
