#include "params/parametermessages.h"

#include "link/commandbuffer.h"
#include "link/commands.h"
#include "shared/stationparameters.h"

#include <QStringView>

#include <cstdint>
#include <initializer_list>

namespace {

constexpr std::uint8_t ServiceWordCode = 0xE8;
constexpr std::uint8_t ParameterGroupCode = 0xEA;
constexpr std::uint8_t ChannelsCode = 0xE4;
constexpr int GapLength = 20;

enum ParameterSubCode : std::uint8_t { UpperThresholds = 0, LowerThresholds = 1, Sensitivity = 2 };

// A frame of code whose first two nibbles are 0 and subCode, followed by the given
// texts, each at its width.
void appendValueFrame(CommandBuffer &buffer, std::uint8_t code, std::uint8_t subCode,
    std::initializer_list<QStringView> texts, int width)
{
    std::uint8_t nibbles[8] = { 0, subCode };
    int at = 2;
    for (QStringView text : texts) {
        DigitValues(text, width, nibbles + at);
        at += width;
    }
    AppendFrame(buffer, code, nibbles);
}

} // namespace

void AppendServiceWordMessage(CommandBuffer &buffer, const StationParameters &params)
{
    std::uint8_t nibbles[8];
    DigitValues(params.ToolWord, 8, nibbles);
    AppendFrame(buffer, ServiceWordCode, nibbles);
}

void AppendUpperThresholdsMessage(CommandBuffer &buffer, const StationParameters &params)
{
    appendValueFrame(buffer, ParameterGroupCode, UpperThresholds,
        { params.DeviacD, params.DeviacM, params.DeviacG }, 2);
}

void AppendLowerThresholdsMessage(CommandBuffer &buffer, const StationParameters &params)
{
    appendValueFrame(buffer, ParameterGroupCode, LowerThresholds,
        { params.Deviacd2, params.DeviacM2, params.DeviacG2 }, 2);
}

void AppendSensitivityMessage(CommandBuffer &buffer, const StationParameters &params)
{
    appendValueFrame(buffer, ParameterGroupCode, Sensitivity,
        { params.reserv, params.Osl_mw, params.osl_gmw }, 2);
}

void AppendChannelsMessage(CommandBuffer &buffer, const StationParameters &params, int group)
{
    appendValueFrame(buffer, ChannelsCode, static_cast<std::uint8_t>(group),
        { params.PrmMv(group), params.PrdMv(group) }, 3);
}

void AppendGap(CommandBuffer &buffer)
{
    const std::uint8_t gap[GapLength] = {};
    buffer.append(gap, GapLength);
}

void AppendAllParameterMessages(CommandBuffer &buffer, const StationParameters &params)
{
    // Put together apart and appended in one piece, so the set is never split.
    CommandBuffer all;
    AppendServiceWordMessage(all, params);
    AppendGap(all);
    AppendUpperThresholdsMessage(all, params);
    AppendGap(all);
    AppendLowerThresholdsMessage(all, params);
    AppendGap(all);
    AppendSensitivityMessage(all, params);
    for (int group = 1; group <= StationParameters::SentChannelGroups; ++group) {
        AppendGap(all);
        AppendChannelsMessage(all, params, group);
    }
    buffer.append(all.data(), all.Count());
}
