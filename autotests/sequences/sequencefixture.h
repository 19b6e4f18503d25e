#pragma once

#include "blocks/factorynumbers.h"
#include "bytes.h"
#include "context/programcontext.h"
#include "fakeclock.h"
#include "fakemessages.h"
#include "fakeport.h"
#include "link/stationreceiver.h"
#include "receivepath.h"
#include "recordingscreen.h"
#include "records/tableschema.h"
#include "sequences/hourlyrepetition.h"
#include "sequences/radiotest1.h"
#include "sequences/radiotest23.h"
#include "sequences/selftestsequence.h"
#include "sequences/servicecommands.h"
#include "tabletexts.h"

#include <QTemporaryDir>

#include <utility>

// The receive side's view: the alarms show on the recording screen, where the direct
// commands look for them, as they do in the main window.
struct AlarmsOnScreen final : ShownView
{
    explicit AlarmsOnScreen(RecordingScreen &screen)
        : screen(screen)
    { }
    void showAlarm(Alarm alarm, bool visible) override
    {
        if (visible) {
            screen.alarms.insert(alarm);
        } else {
            screen.alarms.remove(alarm);
        }
    }
    RecordingScreen &screen;
};

// The test sequences as the program wires them, without a window: a recording screen,
// scripted dialogs, a hand-driven clock, the real receive path from the station's bytes
// and the tables in a temporary directory. A test the station reports on its own is
// handed to its sequence once the bytes of a receive() have been handled, as the
// main window's queued signal does.
struct SequenceFixture
{
    SequenceFixture()
    {
        context.sender.setPort(&port);
        context.receiver.setTarget(&receiver);
        context.station.params.ToolWord = QStringLiteral("00111111");
        blockNumbers.open();
        radioTest.SaveReceivedFactoryNumbers
            = [this](ReceivedFactoryDigits &digits, const QString &locoNumber) {
                  blockNumbers.SaveReceivedFactoryNumbers(digits, locoNumber);
              };
    }
    ~SequenceFixture() { context.receiver.setTarget(nullptr); }

    // The station sends bytes.
    void receive(const QByteArray &bytes)
    {
        for (char b : bytes) {
            context.assembler.HandleReceivedByte(static_cast<std::uint8_t>(b));
        }
        for (int test : std::exchange(stationView.postedTests, {})) {
            if (test == 1) {
                selfTest.Test1();
            } else {
                radioTest.Test2();
            }
        }
    }

    // What the program sent since the last call.
    QByteArray takeSent() { return std::exchange(port.written, QByteArray()); }

    // The operator confirms the next settings dialog with these settings.
    void willConfirm(bool trainNumberKind, const QString &train, const QString &loco, int range)
    {
        dialogs.requests.append(TestRequest { trainNumberKind, train, loco, range });
    }

    QString directory() const { return dir.path() + QLatin1Char('/'); }
    QList<QStringList> rows(const TableSchema &schema) const
    {
        return TableTexts(directory(), schema);
    }

    QTemporaryDir dir;
    FakeClock clock;
    FakeMessages messages;
    FakePort port;
    ProgramContext context { clock, messages, directory() };
    RecordingScreen screen;
    AlarmsOnScreen stationView { screen };
    StationReceiver receiver { context.station, stationView, context.commandBuffer,
        context.sender };
    FactoryNumbersRegister blockNumbers { directory(), clock, messages };
    ScriptedDialogs dialogs;
    SelfTestSequence selfTest { context, screen, screen };
    RadioTest23 radioTest { context, screen, dialogs, screen };
    RadioTest1 radioTest1 { context, screen, dialogs, screen };
    ServiceCommands service { context, screen, screen, dialogs };
    HourlyRepetition hourly { context, screen, radioTest, selfTest };
};
