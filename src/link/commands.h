#pragma once

#include <QStringView>

#include <cstdint>

class CommandBuffer;

// The single bytes of the command set.
namespace CommandByte {
constexpr std::uint8_t Reset = 0xD0;
constexpr std::uint8_t Call1 = 0xD1;
constexpr std::uint8_t Call2 = 0xD2;
} // namespace CommandByte

// Test numbers of the test-start frame.
namespace TestNumber {
constexpr int SelfTest = 1;
constexpr int RadioTest2 = 2;
constexpr int RadioTest3 = 3;
constexpr int TechMode1 = 4; // ЛИУ measurement
constexpr int TechMode2 = 5; // deviation measurement
constexpr int RadioTest1 = 6;
} // namespace TestNumber

// Frame builders: each appends at Count and raises Count by its length.

// A frame: the opening byte, eight nibble bytes, the closing byte (opening | 1).
void AppendFrame(CommandBuffer &buffer, std::uint8_t code, const std::uint8_t (&nibbles)[8]);

// The values of the first width digit characters of text, after padding it on the
// left with "0" to width, into out[0..width-1]; a character that is not a hex digit
// gives 0. Builders put a whole message together before appending it, so that a
// message is never split by the buffer's overflow rule.
void DigitValues(QStringView text, int width, std::uint8_t *out);

void AppendRangeByte(CommandBuffer &buffer, int currentRange);
void AppendTestStartFrame(CommandBuffer &buffer, int testNumber);
void AppendTrainNumberFrame(CommandBuffer &buffer, QStringView trainNumber);
void AppendLocoNumberFrame(CommandBuffer &buffer, QStringView locoNumber);
void AppendInfoFrame(CommandBuffer &buffer, QStringView infoText);

// The answer to an attenuation correction request; each value is held within 0..99.
void AppendAttenuationCorrectionFrame(CommandBuffer &buffer, int mvCorrection, int gmvCorrection);
