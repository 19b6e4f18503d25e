#include "console/programcontext.h"

ProgramContext::ProgramContext(Clock &clock, OperatorMessages &messages)
    : clock(clock)
    , messages(messages)
    , sender(commandBuffer, SentLog, messages, clock)
    , assembler(receiver, ReceivedLog)
{
}

void ProgramContext::sendSingleByte(std::uint8_t b)
{
    commandBuffer.Start();
    commandBuffer.append(b);
    sender.SendCommand();
}
