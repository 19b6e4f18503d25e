#include "console/programcontext.h"

#include "link/portnames.h"

ProgramContext::ProgramContext(Clock &clock, OperatorMessages &messages)
    : clock(clock)
    , messages(messages)
    , defaultPortName(DefaultPortName())
    , sender(commandBuffer, SentLog, messages, clock)
    , assembler(receiver, ReceivedLog)
{ }

void ProgramContext::sendSingleByte(std::uint8_t b)
{
    commandBuffer.Start();
    commandBuffer.append(b);
    sender.SendCommand();
}
