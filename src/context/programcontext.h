#pragma once

#include "link/commandbuffer.h"
#include "link/commandsender.h"
#include "link/frameassembler.h"
#include "link/receivehandler.h"
#include "link/serialdevices.h"
#include "link/trafficlog.h"
#include "records/resultrecorder.h"
#include "records/serverpresence.h"
#include "shared/stationdata.h"
#include "shared/testsession.h"

#include <QString>

#include <cstdint>
#include <memory>

class Clock;
class OperatorMessages;

// The state that lives as long as the program and is shared by its windows: the
// parameter set, the traffic logs, the one command buffer and its sender, the
// receive path. Everything here is used on the GUI thread only.
class ProgramContext
{
public:
    // database: where the tables are (see EnsureDatabaseAlias, CurrentDatabaseLocation).
    ProgramContext(Clock &clock, OperatorMessages &messages, const DatabaseLocation &database);

    // Sends a one-byte command such as the reset 0xD0 from an empty buffer.
    void sendSingleByte(std::uint8_t b);

    Clock &clock;
    OperatorMessages &messages;

    // The port tried at start-up when Options.dat does not exist.
    QString defaultPortName;

    // The serial ports for the "Порт" menu and the identities of their devices.
    SystemSerialDevices systemDevices;
    const SerialDevices *serialDevices = &systemDevices;

    StationData station;

    TrafficLog ReceivedLog;
    TrafficLog SentLog;
    CommandBuffer commandBuffer;
    CommandSender sender;

    // Whether the tables' server answers (none for tables in a folder); made before
    // the recorder, whose outbox follows it, and before any window opens a table.
    std::unique_ptr<ServerPresence> serverPresence;

    // Appends the result rows; made from the station data above.
    ResultRecorder recorder;

    // Which test is being set up, runs, or is repeated hourly.
    TestSession session;

    // Received bytes go to the assembly, which hands status codes and frames to
    // whatever handler the main window plugs into the router.
    ReceiveRouter receiver;
    FrameAssembler assembler;
};
