#pragma once

#include "shared/currentnumbers.h"
#include "shared/measurements.h"
#include "shared/receivedfactorydigits.h"
#include "shared/stationparameters.h"
#include "shared/teststate.h"

#include <QString>

// What the program knows of the station and of the running test: written by the
// receive side (status codes and frames) and read by the windows and test
// sequences, all on the GUI thread.
struct StationData
{
    StationParameters params;
    int CurrentRange = 0; // index into the ranges, shown in the main window
    TestState test;
    Measurements measurements;
    BandMessages bands;
    CurrentNumbers numbers;
    // The numbers of the last train and locomotive number frames.
    QString ReceivedTrainNumber;
    QString ReceivedLocoNumber;
    ReceivedFactoryDigits factoryDigits;
    // The factory digits as they stood when the result frame of a radio test came:
    // the station's "free" report, which may follow at once, clears factoryDigits.
    ReceivedFactoryDigits factoryDigitsOfResult;

    // A radio test 2 or 3 begins: the band flags and factory digits reported before
    // it (while idle, in radio test 1, in a cancelled test) are not its own.
    void beginRadioTestReports()
    {
        bands.reset();
        factoryDigits.clear();
        factoryDigitsOfResult.clear();
    }
};
