#pragma once

#include "app/program.h"
#include "console/mainform.h"
#include "fakeclock.h"
#include "fakemessages.h"
#include "fakeport.h"
#include "link/optionsfile.h"
#include "records/databasetable.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

// The whole program in a private working directory: a hand-driven clock, recorded
// messages, and a fake port that takes what the program sends. The station's bytes
// are fed into the real receive path.
struct ProgramFixture
{
    // With a server, the tables are there and the working directory is the PC's own.
    explicit ProgramFixture(const ServerAddress &server = {})
    {
        QDir::setCurrent(workDir.path());
        OptionsFile::write(QStringLiteral("ttyNoSuchPort"));
        program = std::make_unique<Program>(clock, messages,
            DatabaseLocation(databaseDirectory(), server), QStringLiteral("ttyNoSuchDefault"));
        messages.errors.clear(); // the start-up's "no port"
        context().sender.setPort(&port);
        form().SetLinkMenus(true); // as after a port has been opened
    }

    ~ProgramFixture()
    {
        program.reset();
        QDir::setCurrent(QDir::tempPath());
    }

    QString databaseDirectory() const { return workDir.path() + QLatin1Char('/'); }
    ProgramContext &context() { return program->context(); }
    TMainForm &form() { return program->mainForm(); }
    const MainFormControls &ui() { return program->mainForm().controls(); }

    // The station sends bytes.
    void receive(const QByteArray &bytes)
    {
        for (char b : bytes) {
            context().assembler.HandleReceivedByte(static_cast<std::uint8_t>(b));
        }
    }

    // What the program sent since the last call.
    QByteArray takeSent() { return std::exchange(port.written, QByteArray()); }

    QList<TableRow> rows(const TableSchema &schema)
    {
        DatabaseTable table(databaseDirectory(), schema);
        QList<TableRow> all;
        if (table.open(DatabaseTable::OpenMode::ExistingOnly)) {
            table.readAll(&all);
        }
        return all;
    }

    QTemporaryDir workDir;
    FakeClock clock;
    FakeMessages messages;
    FakePort port;
    std::unique_ptr<Program> program;
};
