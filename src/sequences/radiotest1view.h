#pragma once

#include <QString>

// What radio test 1 shows in the results panel of the main window, which implements it.
class RadioTest1View
{
public:
    virtual ~RadioTest1View() = default;

    // The header, the locomotive line, the gauge at 0 of durationSeconds and "Отмена".
    virtual void showRadioTest1(const QString &header, const QString &locoLine, int durationSeconds)
        = 0;
    virtual void showRadioTest1Elapsed(int seconds) = 0;
    // The test is over: the panel's own header, no gauge, line or "Отмена".
    virtual void showRadioTest1Ended() = 0;
};
