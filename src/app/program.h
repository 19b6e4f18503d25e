#pragma once

#include "context/programcontext.h"

#include <QString>

#include <memory>

class Clock;
class HourlyRepetition;
class OperatorMessages;
class RadioTest1;
class RadioTest23;
class ResultTools;
class SelfTestSequence;
class ServiceCommands;
class TAboutBox;
class TFDiapDlg;
class TFParam;
class TFSPC;
class TFTestDlg;
class TFevery;
class TFDB;
class TFDB23;
class TFDBRV;
class TFSelectDlg;
class TForm2;
class TfBlockNum;
class TDatabaseDialog;
class TMainForm;

// The program's windows, created once in a fixed order and kept for the whole run,
// and the test sequences that drive them.
class Program
{
public:
    // database: where the tables are; defaultPort: the port tried when
    // Options.dat does not exist.
    Program(Clock &clock, OperatorMessages &messages, const DatabaseLocation &database,
        const QString &defaultPort);
    ~Program();

    ProgramContext &context() { return m_context; }
    TMainForm &mainForm() { return *m_mainForm; }
    TFParam &parameters() { return *m_parameters; }
    TFevery &everyWindow() { return *m_every; }
    TFTestDlg &testDialog() { return *m_testDialog; }
    TAboutBox &aboutBox() { return *m_about; }
    TFSPC &specialMode() { return *m_specialMode; }
    TFDiapDlg &callDialog() { return *m_callDialog; }
    TFDB &selfTestResults() { return *m_selfTestResults; }
    TFDB23 &radioTestResults() { return *m_radioTestResults; }
    ResultTools &resultTools() { return *m_resultTools; }
    TFDBRV &radioRegister() { return *m_radioRegister; }
    TfBlockNum &blockNumbers() { return *m_blockNumbers; }
    SelfTestSequence &selfTest() { return *m_selfTest; }
    RadioTest1 &radioTest1() { return *m_radioTest1; }
    RadioTest23 &radioTest23() { return *m_radioTest23; }
    HourlyRepetition &hourly() { return *m_hourly; }

private:
    void createWindows();
    void createSequences();
    void connectMenus();

    ProgramContext m_context;
    std::unique_ptr<TMainForm> m_mainForm;
    // The rest are owned by the main window.
    TFParam *m_parameters = nullptr;
    TFevery *m_every = nullptr;
    TFTestDlg *m_testDialog = nullptr;
    TAboutBox *m_about = nullptr;
    TFSPC *m_specialMode = nullptr;
    TFDiapDlg *m_callDialog = nullptr;
    TForm2 *m_reportOptions = nullptr;
    TFSelectDlg *m_select = nullptr;
    TFDB *m_selfTestResults = nullptr;
    TFDB23 *m_radioTestResults = nullptr;
    ResultTools *m_resultTools = nullptr;
    TFDBRV *m_radioRegister = nullptr;
    TfBlockNum *m_blockNumbers = nullptr;
    TDatabaseDialog *m_databaseDialog = nullptr;
    SelfTestSequence *m_selfTest = nullptr;
    RadioTest1 *m_radioTest1 = nullptr;
    RadioTest23 *m_radioTest23 = nullptr;
    ServiceCommands *m_service = nullptr;
    HourlyRepetition *m_hourly = nullptr;
};
