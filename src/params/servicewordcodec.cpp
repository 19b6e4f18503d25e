#include "params/servicewordcodec.h"

#include "link/codecs.h"
#include "params/parameterreads.h"
#include "params/stationparameters.h"

namespace {

constexpr int WordLength = 8;
constexpr int ListDigits[ServiceWordSettings::Lists] = { 8, 8, 6, 2, 4 };
constexpr int UsedBits[3] = { 0x7, 0x7, 0x3 }; // the bits the dialog has check boxes for

int listIndex(int position)
{
    return position - ServiceWordSettings::FirstListPosition;
}

} // namespace

int ServiceWordListDigits(int position)
{
    return ListDigits[listIndex(position)];
}

int ServiceWordListSize(int position)
{
    const int emptyEntry = position == ServiceWordSettings::FirstListPosition ? 1 : 0;
    return ServiceWordListDigits(position) + emptyEntry;
}

ServiceWordSettings DecodeServiceWord(const QString &word)
{
    const QString full = FittedToWidth(word, WordLength);
    ServiceWordSettings settings;
    for (int position = 1; position <= 3; ++position) {
        settings.bits[position - 1] = ServiceWordBits(full, position);
    }
    for (int position = ServiceWordSettings::FirstListPosition; position <= WordLength;
         ++position) {
        const int entry = HexDigitValue(full.at(position - 1)) - 1;
        const bool listed = entry >= 0 && entry < ServiceWordListSize(position);
        settings.entries[listIndex(position)] = listed ? entry : -1;
    }
    return settings;
}

QString EncodeServiceWord(const QString &word, const ServiceWordSettings &settings)
{
    QString result = FittedToWidth(word, WordLength);
    for (int position = ServiceWordSettings::FirstListPosition; position <= WordLength;
         ++position) {
        const int entry = settings.entries[listIndex(position)];
        if (entry >= 0 && entry < ServiceWordListDigits(position)) {
            result[position - 1] = QChar(u'1' + entry);
        }
    }
    for (int position = 1; position <= 3; ++position) {
        const int used = UsedBits[position - 1];
        // Position 3 keeps its bits 2 and 3; positions 1 and 2 have no kept bits.
        const int kept = position == 3 ? HexDigitValue(result.at(position - 1)) & ~used : 0;
        result[position - 1] = NibbleToHexChar(
            static_cast<std::uint8_t>(kept | (settings.bits[position - 1] & used)));
    }
    return result;
}
