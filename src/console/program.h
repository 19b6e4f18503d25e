#pragma once

#include "console/programcontext.h"

#include <QString>

#include <memory>

class Clock;
class OperatorMessages;
class TAboutBox;
class TFevery;
class TMainForm;
class TFSPC;
class TFParam;
class TFTestDlg;
class SelfTestSequence;
class RadioTest1;

// The program's windows, created once in a fixed order and kept for the whole run.
class Program
{
public:
    // databaseDirectory: where the tables are; defaultPort: the port tried when
    // Options.dat does not exist.
    Program(Clock &clock, OperatorMessages &messages, const QString &databaseDirectory,
        const QString &defaultPort);
    ~Program();

    ProgramContext &context() { return m_context; }
    TMainForm &mainForm() { return *m_mainForm; }
    TFevery &everyWindow() { return *m_every; }
    TAboutBox &aboutBox() { return *m_about; }
    TFParam &parameters() { return *m_parameters; }
    TFTestDlg &testDialog() { return *m_testDialog; }
    TFSPC &specialMode() { return *m_specialMode; }
    SelfTestSequence &selfTest() { return *m_selfTest; }
    RadioTest1 &radioTest1() { return *m_radioTest1; }

private:
    ProgramContext m_context;
    std::unique_ptr<TMainForm> m_mainForm;
    TFevery *m_every = nullptr; // owned by the main window
    TFParam *m_parameters = nullptr;
    TFTestDlg *m_testDialog = nullptr;
    TAboutBox *m_about = nullptr;
    TFSPC *m_specialMode = nullptr;
    SelfTestSequence *m_selfTest = nullptr;
    RadioTest1 *m_radioTest1 = nullptr;

    void connectTests();
    void connectParameters();
};
