#include "link/frameassembler.h"

#include "link/receivehandler.h"
#include "link/trafficlog.h"

FrameAssembler::FrameAssembler(ReceiveHandler &handler, TrafficLog &receivedLog)
    : m_handler(handler)
    , m_receivedLog(receivedLog)
{ }

void FrameAssembler::HandleReceivedByte(std::uint8_t b)
{
    switch (ClassOfByte(b)) {
    case ByteClass::Other:
        break;
    case ByteClass::StatusCode:
        // A status code never disturbs a frame in progress.
        m_handler.HandleStatusCode(b);
        break;
    case ByteClass::NibbleByte:
        handleNibble(b);
        break;
    case ByteClass::Boundary:
        handleBoundary(b);
        break;
    }
    m_receivedLog.append(b);
}

void FrameAssembler::handleNibble(std::uint8_t b)
{
    if (!m_inProgress) {
        return; // a nibble outside a frame has no meaning
    }
    if (m_frame.Count >= MessageFrame::NibbleCells) {
        // A ninth nibble means the frame is damaged: drop it whole rather than hand
        // on values whose positions can no longer be trusted.
        m_inProgress = false;
        return;
    }
    m_frame.Nibble[m_frame.Count] = b & 0x0F;
    ++m_frame.Count;
}

void FrameAssembler::handleBoundary(std::uint8_t b)
{
    if (m_inProgress && b == (m_frame.Code | 1)) {
        m_frame.State = MessageFrame::Complete;
        m_inProgress = false;
        m_handler.DispatchFrame(m_frame);
        return;
    }
    if (b & 1) {
        // A closing byte that does not belong to the frame drops it silently.
        m_inProgress = false;
        return;
    }
    // An opening byte starts a new frame; one in progress is dropped. The cells keep
    // what the previous frame left in them, readers go by Count and the layout.
    m_inProgress = true;
    m_frame.Code = b;
    m_frame.State = MessageFrame::Assembling;
    m_frame.Count = 0;
}
