#include "sim/stationframes.h"

#include "link/ranges.h"
#include "shared/codecs.h"
#include "shared/messageframe.h"

#include <algorithm>

namespace StationFrames {

QByteArray Frame(std::uint8_t code, const Nibbles &nibbles)
{
    QByteArray bytes;
    bytes.reserve(10);
    bytes.append(static_cast<char>(code));
    for (std::uint8_t n : nibbles) {
        bytes.append(static_cast<char>(NibbleByteOf(n)));
    }
    bytes.append(static_cast<char>(code | 1));
    return bytes;
}

void PutDigits(Nibbles &nibbles, int at, QStringView text, int width)
{
    const int padding = std::max(0, width - static_cast<int>(text.size()));
    for (int i = 0; i < width && at + i < static_cast<int>(nibbles.size()); ++i) {
        nibbles[at + i]
            = static_cast<std::uint8_t>(i < padding ? 0 : HexDigitValue(text[i - padding]));
    }
}

void PutTwoDigits(Nibbles &nibbles, int at, int value)
{
    value = std::clamp(value, 0, 99);
    nibbles[at] = static_cast<std::uint8_t>(value / 10);
    nibbles[at + 1] = static_cast<std::uint8_t>(value % 10);
}

int DecimalValue(QStringView digits)
{
    int value = 0;
    for (QChar c : digits) {
        const char16_t u = c.unicode();
        value = value * 10 + ((u >= u'0' && u <= u'9') ? u - u'0' : 0);
    }
    return value;
}

} // namespace StationFrames

Band BandOfRange(int range)
{
    if (range == RangeGMV1 || range == RangeGMV2) {
        return Band::Gmv;
    }
    return range >= RangeMV1 ? Band::Mv : Band::Dmv;
}
