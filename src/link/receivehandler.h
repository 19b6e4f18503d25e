#pragma once

#include "link/messageframe.h"

#include <cstdint>

// Receives what the frame assembly makes of the station's bytes, in byte order.
class ReceiveHandler
{
public:
    virtual ~ReceiveHandler() = default;

    // A one-byte status code 0x90..0xDF; it may arrive between the nibbles of a frame.
    virtual void HandleStatusCode(std::uint8_t code) = 0;

    // A completed frame (State 2). The frame is the assembly's current record and is
    // reused by the next opening byte: whoever keeps it copies it.
    virtual void DispatchFrame(const MessageFrame &frame) = 0;
};
