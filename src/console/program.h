#pragma once

#include "console/programcontext.h"

#include <memory>

class Clock;
class OperatorMessages;
class TAboutBox;
class TFevery;
class TMainForm;

// The program's windows, created once in a fixed order and kept for the whole run.
class Program
{
public:
    // Points the database alias at the tables' directory, then creates the windows.
    Program(Clock &clock, OperatorMessages &messages);
    ~Program();

    ProgramContext &context() { return m_context; }
    TMainForm &mainForm() { return *m_mainForm; }
    TFevery &everyWindow() { return *m_every; }
    TAboutBox &aboutBox() { return *m_about; }

private:
    ProgramContext m_context;
    std::unique_ptr<TMainForm> m_mainForm;
    TFevery *m_every = nullptr; // owned by the main window
    TAboutBox *m_about = nullptr;
};
