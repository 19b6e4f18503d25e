#pragma once

#include <QString>

// What the operator's direct commands show in the main window, which implements it.
class ServiceCommandsView
{
public:
    virtual ~ServiceCommandsView() = default;

    // The gauges of the self-test, the radio tests and radio test 1 back at 0.
    virtual void resetTestGauges() = 0;
    // The amplifier alarms of МВ and ГМВ, as the station's codes left them.
    virtual bool amplifierAlarmShown() const = 0;
    virtual void hideAmplifierAlarms() = 0;
    // A technological mode has started: its header in the results panel (unless the
    // self-test's panel is shown), with the ЛИУ field or without it.
    virtual void showTechnologicalMode(const QString &header, bool liuField) = 0;
};
