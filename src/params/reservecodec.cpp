#include "params/reservecodec.h"

#include "params/parameterreads.h"
#include "shared/codecs.h"

namespace {

constexpr int KeptBits = 0x88;
constexpr int EmptyTone = 3;

} // namespace

ReserveSettings DecodeReserve(const QString &reserv)
{
    const QString full = FittedToWidth(reserv, 2);
    const int high = HexDigitValue(full.at(0));
    const int low = HexDigitValue(full.at(1));
    ReserveSettings settings;
    settings.test21 = low & 0x1;
    settings.test22 = low & 0x2;
    settings.test32 = low & 0x4;
    settings.dvx = high & 0x4;
    settings.tone = (high & 0x3) == EmptyTone ? 0 : high & 0x3;
    return settings;
}

QString EncodeReserve(const QString &reserv, const ReserveSettings &settings)
{
    int value = HexTextToValue(FittedToWidth(reserv, 2)) & KeptBits;
    value |= (settings.test21 ? 0x01 : 0) | (settings.test22 ? 0x02 : 0)
        | (settings.test32 ? 0x04 : 0) | ((settings.tone & 0x3) << 4) | (settings.dvx ? 0x40 : 0);
    return ByteToHexText(static_cast<std::uint8_t>(value));
}
