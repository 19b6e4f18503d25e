#pragma once

#include <QString>
#include <QStringList>

// The simulator's command line.
struct SimOptions
{
    double speed = 1.0;
    QString optionsDir; // where to write Options.dat; empty: nowhere
    bool alarm = false;
    int autoTestSeconds = 0;
    bool logTraffic = false;
};

struct ParsedSimOptions
{
    SimOptions options;
    QString error; // empty when the line was understood
    QString helpText; // not empty when --help was asked for
};

ParsedSimOptions ParseSimOptions(const QStringList &arguments);
