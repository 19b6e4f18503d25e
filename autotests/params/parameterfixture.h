#pragma once

#include "context/programcontext.h"
#include "fakeclock.h"
#include "fakemessages.h"
#include "fakeport.h"
#include "records/tableschema.h"
#include "tabletexts.h"

#include <QTemporaryDir>

// The program's shared state with a hand-driven clock, recorded messages, a port
// that keeps what it is given and the result tables in a private directory.
struct ParameterFixture
{
    ParameterFixture() { context.sender.setPort(&port); }

    // The rows of tests1.DB as texts, one list of field values per row.
    QList<QStringList> tests1Rows() { return TableTexts(dir.path(), Tests1Schema()); }

    // The named field of a tests1.DB row.
    static QString field(const QStringList &row, const char *name)
    {
        return row.value(Tests1Schema().fieldIndex(QLatin1String(name)));
    }

    StationParameters &params() { return context.station.params; }

    QTemporaryDir dir;
    FakeClock clock;
    FakeMessages messages;
    FakePort port;
    ProgramContext context { clock, messages, dir.path() + QLatin1Char('/') };
};
