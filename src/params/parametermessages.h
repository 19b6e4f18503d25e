#pragma once

class CommandBuffer;
struct StationParameters;

// Builders of the parameter messages. Each appends one message at Count and raises
// Count by its length; none sends. Every value text is written at its full width
// (missing leading characters as 0), so each message is a whole 10-byte frame.
void AppendServiceWordMessage(CommandBuffer &buffer, const StationParameters &params);
void AppendUpperThresholdsMessage(CommandBuffer &buffer, const StationParameters &params);
void AppendLowerThresholdsMessage(CommandBuffer &buffer, const StationParameters &params);
void AppendSensitivityMessage(CommandBuffer &buffer, const StationParameters &params);
void AppendChannelsMessage(CommandBuffer &buffer, const StationParameters &params, int group);
void AppendGap(CommandBuffer &buffer);

// Service word, upper and lower thresholds, sensitivity and channel groups 1..3, with
// a gap of twenty zero bytes between messages: 190 bytes.
void AppendAllParameterMessages(CommandBuffer &buffer, const StationParameters &params);
