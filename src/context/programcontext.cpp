#include "context/programcontext.h"

#include "link/portnames.h"

ProgramContext::ProgramContext(
    Clock &clock, OperatorMessages &messages, const DatabaseLocation &database)
    : clock(clock)
    , messages(messages)
    , defaultPortName(DefaultPortName())
    , sender(commandBuffer, SentLog, messages, clock)
    , serverPresence(
          database.onServer() ? std::make_unique<ServerPresence>(database.server, clock) : nullptr)
    , recorder(database, station.params, station.numbers, station.measurements,
          station.bands, clock, messages)
    , session(station.test)
    , assembler(receiver, ReceivedLog)
{ }

void ProgramContext::sendSingleByte(std::uint8_t b)
{
    commandBuffer.Start();
    commandBuffer.append(b);
    sender.SendCommand();
}
