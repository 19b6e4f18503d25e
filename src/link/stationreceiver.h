#pragma once

#include "link/framedispatcher.h"
#include "link/receivehandler.h"
#include "link/statuscodehandler.h"

// The receive side's handling of the station: status codes and frames, in byte order.
class StationReceiver final : public ReceiveHandler
{
public:
    StationReceiver(
        StationData &station, StationView &view, CommandBuffer &buffer, CommandSender &sender)
        : m_statusCodes(station, view, buffer, sender)
        , m_frames(station, view)
    { }

    StatusCodeHandler &statusCodes() { return m_statusCodes; }

    void HandleStatusCode(std::uint8_t code) override { m_statusCodes.HandleStatusCode(code); }
    void DispatchFrame(const MessageFrame &frame) override { m_frames.DispatchFrame(frame); }

private:
    StatusCodeHandler m_statusCodes;
    FrameDispatcher m_frames;
};
