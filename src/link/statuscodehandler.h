#pragma once

#include <cstdint>

class AttenuationLookup;
class CommandBuffer;
class CommandSender;
class StationView;
struct StationData;

// Handles the station's one-byte status codes: grid lines, the current range,
// indicators, the busy state, band message flags, and the answer to the
// attenuation correction request.
class StatusCodeHandler
{
public:
    StatusCodeHandler(
        StationData &station, StationView &view, CommandBuffer &buffer, CommandSender &sender);

    // The register used for attenuation requests; without one every locomotive is unknown.
    void setAttenuationLookup(AttenuationLookup *lookup) { m_lookup = lookup; }

    void HandleStatusCode(std::uint8_t code);

    int needlePosition() const { return m_needlePosition; }

private:
    void showText(std::uint8_t code);
    void applyEffect(std::uint8_t code);
    void stationBusy();
    void stationFree();
    void stepNeedle();
    void answerAttenuationRequest();
    void setRange(int range);

    StationData &m_station;
    StationView &m_view;
    CommandBuffer &m_buffer;
    CommandSender &m_sender;
    AttenuationLookup *m_lookup = nullptr;
    int m_needlePosition = 0;
    int m_needleDirection = +1;
};
