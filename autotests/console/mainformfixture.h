#pragma once

#include "console/mainform.h"
#include "context/programcontext.h"
#include "fakeclock.h"
#include "fakemessages.h"
#include "fakeserialdevices.h"
#include "link/optionsfile.h"

#include <QDir>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>

// A main window in a private working directory, with a hand-driven clock and
// recorded messages and serial devices played by the test (none listed, none with an
// identity). Options.dat holds the given port; without one, the start-up tries a port
// that does not exist. prepare runs in the working directory before the window is made.
struct MainFormFixture
{
    explicit MainFormFixture(std::optional<QString> optionsPort = QStringLiteral("ttyNoSuchPort"),
        const QString &defaultPort = QStringLiteral("ttyNoSuchDefault"),
        const std::function<void()> &prepare = {})
    {
        QDir::setCurrent(workDir.path());
        if (optionsPort) {
            OptionsFile::write(*optionsPort);
        }
        if (prepare) {
            prepare();
        }
        context.defaultPortName = defaultPort;
        context.serialDevices = &devices;
        form = std::make_unique<TMainForm>(context);
    }

    ~MainFormFixture()
    {
        form.reset();
        QDir::setCurrent(QDir::tempPath());
    }

    const MainFormControls &ui() const { return form->controls(); }

    QTemporaryDir workDir;
    FakeClock clock;
    FakeMessages messages;
    FakeSerialDevices devices;
    ProgramContext context { clock, messages, workDir.path() + QLatin1Char('/') };
    std::unique_ptr<TMainForm> form;
};
