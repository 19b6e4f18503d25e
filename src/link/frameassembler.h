#pragma once

#include "shared/messageframe.h"

#include <cstdint>

class ReceiveHandler;
class TrafficLog;

// Sorts received bytes into status codes and frames, one byte at a time, without
// allocating: one current frame record and a frame-in-progress flag.
class FrameAssembler
{
public:
    FrameAssembler(ReceiveHandler &handler, TrafficLog &receivedLog);

    // Handles one received byte, then appends it to the received log.
    void HandleReceivedByte(std::uint8_t b);

    bool frameInProgress() const { return m_inProgress; }
    const MessageFrame &currentFrame() const { return m_frame; }

private:
    void handleNibble(std::uint8_t b);
    void handleBoundary(std::uint8_t b);

    ReceiveHandler &m_handler;
    TrafficLog &m_receivedLog;
    MessageFrame m_frame;
    bool m_inProgress = false;
};
