#pragma once

#include "shared/messageframe.h"

#include <cstdint>

class StationView;
struct StationData;

// Frames that are routed into the running test's collection, by the number of the
// collecting test (entry 0 is never consulted): the result frame in every case.
constexpr std::uint8_t CollectionGate[4] = { 0xE2, 0xE2, 0xE2, 0xE2 };

// Decodes the station's frames into the parameter set, the measurements, the
// numbers and factory numbers, the special mode's results and the test results.
class FrameDispatcher
{
public:
    FrameDispatcher(StationData &station, StationView &view);

    void DispatchFrame(const MessageFrame &frame);

private:
    bool collect(const MessageFrame &frame);
    void testReport(const MessageFrame &frame);
    void channels(const MessageFrame &frame);
    void parameterGroup(const MessageFrame &frame);
    void trainNumber(const MessageFrame &frame);
    void locoNumber(const MessageFrame &frame);
    void factoryNumber(const MessageFrame &frame);

    StationData &m_station;
    StationView &m_view;
};
