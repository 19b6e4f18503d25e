#pragma once

#include <QString>

// Where the special mode's results are shown.
class SpecialModeDisplay
{
public:
    enum class Result { EResult1, EResult2 };

    virtual ~SpecialModeDisplay() = default;

    // The field's text colour toggles between black and blue with every result.
    virtual void showSpecialModeResult(Result field, const QString &text) = 0;
};

// What the receive side shows in the windows. The main window implements it; the
// tests record the calls.
class StationView
{
public:
    enum class Band { Dmv, Mv, Gmv };
    enum class Alarm { SchMv, UmMv, UmGmv };
    // Measurement fields of the main window: the deviations measured in the three bands
    // (ELevd, ELevm, ELevg), the sensitivity check's attenuations (Edit3, Edit2) and
    // verdicts (Edit4, Edit7) in МВ and ГМВ, the ЛИУ level of technological mode 1 (ELIU).
    enum class Field {
        DmvDeviation,
        MvDeviation,
        GmvDeviation,
        MvAttenuation,
        GmvAttenuation,
        MvVerdict,
        GmvVerdict,
        LiuLevel,
    };
    using SpecialResult = SpecialModeDisplay::Result;

    virtual ~StationView() = default;

    virtual void AddMessageLine(const QString &text, bool withRange) = 0;
    virtual void showRangeName(const QString &name) = 0; // Edit1
    virtual void showStationFree(bool free) = 0; // Label7
    virtual void SetCommandMenus(bool on) = 0;
    virtual void ResetResultsPanel() = 0;
    virtual void ShowServiceWord() = 0;
    virtual void setTransmitting(Band band, bool on) = 0; // Shape1..Shape3
    virtual void showAlarm(Alarm alarm, bool visible) = 0;
    virtual void setDmvLineSignal(bool present) = 0; // CheckBox1
    virtual void setNeedle(int position) = 0; // Gauge1
    virtual void showField(Field field, const QString &text) = 0;
    // A special mode result: the field's colour toggles between black and blue.
    virtual void showSpecialModeResult(SpecialResult field, const QString &text) = 0;
    virtual void beep() = 0;
    // Starts the handling of a test the station reports on its own, after the
    // current frame's handling has finished.
    virtual void postStationTest(int testNumber) = 0;
};
