#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class ClockTimer;
class ProgramContext;
class RadioTest23;
class SelfTestSequence;
class TFTestDlg;
class TestHost;
struct MainFormControls;

// Repeats radio test 2 or 3 once an hour (menu items NT2, NT3) with settings asked
// for once, and the self-test when the service word asks for it. Timer1 polls every
// 2 seconds until a repetition is due; a busy station delays it by 20 seconds.
class HourlyRepetition : public QObject
{
    Q_OBJECT
public:
    static constexpr int PollMs = 2000;
    static constexpr int AfterClickMs = 1000;
    static constexpr int BusyRetryMs = 20000;
    static constexpr int HourMs = 3600000;
    static constexpr int AfterParametersMs = 1500;

    HourlyRepetition(ProgramContext &context, TestHost &host, RadioTest23 &radioTest,
        SelfTestSequence &selfTest, TFTestDlg &dialog, const MainFormControls &window,
        QObject *parent = nullptr);
    ~HourlyRepetition() override;

    // After the item's own check mark has toggled.
    void NT2Click();
    void NT3Click();
    void Timer1Timer();
    // Shows the parameters window with the timer held, and re-arms the timer by the
    // service word afterwards.
    void N2Click(const std::function<void()> &showParameters);

    ClockTimer &timer() { return *m_timer; }

private:
    struct Settings
    {
        bool trainNumberKind = true;
        QString trainNumber;
        QString locoNumber;
        int range = 0;
    };

    void itemClicked();
    void startRadioTest();
    void selfTestAfterRadioTest();

    ProgramContext &m_context;
    TestHost &m_host;
    RadioTest23 &m_radioTest;
    SelfTestSequence &m_selfTest;
    TFTestDlg &m_dialog;
    const MainFormControls &m_window;
    std::unique_ptr<ClockTimer> m_timer;
    std::optional<Settings> m_settings;
    bool m_selfTestPending = false;
};
