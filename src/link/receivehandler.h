#pragma once

#include "shared/messageframe.h"

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

// Forwards to a handler that is plugged in later, and drops what arrives before it:
// bytes may come in while the windows that handle them are still being created.
class ReceiveRouter final : public ReceiveHandler
{
public:
    void setTarget(ReceiveHandler *target) { m_target = target; }

    void HandleStatusCode(std::uint8_t code) override
    {
        if (m_target) {
            m_target->HandleStatusCode(code);
        }
    }

    void DispatchFrame(const MessageFrame &frame) override
    {
        if (m_target) {
            m_target->DispatchFrame(frame);
        }
    }

private:
    ReceiveHandler *m_target = nullptr;
};
