#include "link/commands.h"

#include "link/commandbuffer.h"
#include "link/ranges.h"
#include "shared/codecs.h"
#include "shared/messageframe.h"

#include <algorithm>

namespace {

constexpr std::uint8_t TestStartCode = 0xE2;
constexpr std::uint8_t TrainNumberCode = 0xEC;
constexpr std::uint8_t LocoNumberCode = 0xEE;
constexpr std::uint8_t InfoCode = 0xE0;
constexpr std::uint8_t AttenuationCorrectionCode = 0xF4;

constexpr int TrainNumberWidth = 4;
constexpr int LocoNumberWidth = 7;
constexpr int InfoTextWidth = 8;

} // namespace

void AppendFrame(CommandBuffer &buffer, std::uint8_t code, const std::uint8_t (&nibbles)[8])
{
    std::uint8_t frame[10];
    frame[0] = code;
    for (int i = 0; i < 8; ++i) {
        frame[i + 1] = NibbleByteOf(nibbles[i]);
    }
    frame[9] = code | 1;
    buffer.append(frame, 10);
}

void DigitValues(QStringView text, int width, std::uint8_t *out)
{
    const int padding = std::max(0, width - static_cast<int>(text.size()));
    for (int i = 0; i < width; ++i) {
        out[i] = static_cast<std::uint8_t>(i < padding ? 0 : HexDigitValue(text[i - padding]));
    }
}

void AppendRangeByte(CommandBuffer &buffer, int currentRange)
{
    buffer.append(RangeByte(currentRange));
}

void AppendTestStartFrame(CommandBuffer &buffer, int testNumber)
{
    AppendFrame(
        buffer, TestStartCode, { 0, 0, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(testNumber) });
}

void AppendTrainNumberFrame(CommandBuffer &buffer, QStringView trainNumber)
{
    std::uint8_t nibbles[8] = {};
    DigitValues(trainNumber, TrainNumberWidth, nibbles + 2);
    AppendFrame(buffer, TrainNumberCode, nibbles);
}

void AppendLocoNumberFrame(CommandBuffer &buffer, QStringView locoNumber)
{
    std::uint8_t nibbles[8] = { 1 };
    DigitValues(locoNumber, LocoNumberWidth, nibbles + 1);
    AppendFrame(buffer, LocoNumberCode, nibbles);
}

void AppendInfoFrame(CommandBuffer &buffer, QStringView infoText)
{
    std::uint8_t nibbles[8] = {};
    DigitValues(infoText, InfoTextWidth, nibbles);
    AppendFrame(buffer, InfoCode, nibbles);
}

void AppendAttenuationCorrectionFrame(CommandBuffer &buffer, int mvCorrection, int gmvCorrection)
{
    const auto m = static_cast<std::uint8_t>(std::clamp(mvCorrection, 0, 99));
    const auto g = static_cast<std::uint8_t>(std::clamp(gmvCorrection, 0, 99));
    AppendFrame(buffer, AttenuationCorrectionCode,
        { 0, 0, 0, 0, static_cast<std::uint8_t>(m / 10), static_cast<std::uint8_t>(m % 10),
            static_cast<std::uint8_t>(g / 10), static_cast<std::uint8_t>(g % 10) });
}
