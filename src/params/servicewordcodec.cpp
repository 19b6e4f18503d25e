#include "params/servicewordcodec.h"

#include "params/parameterreads.h"
#include "shared/codecs.h"
#include "shared/stationparameters.h"

#include <algorithm>

namespace {

constexpr int WordLength = 8;
constexpr int ListDigits[ServiceWordSettings::Lists] = { 8, 8, 6, 2, 4 };
constexpr const char *ListCaptions[ServiceWordSettings::Lists] = {
    "Группа частот ДМВ для теста 3",
    "Группа частот МВ для теста 3",
    "Канал МВ для теста 3",
    "Канал дежурного приема ГМВ",
    "Канал дежурного приема МВ",
};
constexpr int BitSetPositions = 3;
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

QString ServiceWordListCaption(int position)
{
    return QString::fromUtf8(ListCaptions[listIndex(position)]);
}

QString ServiceWordTyped(const QString &text)
{
    return KeepDigits(text.left(BitSetPositions), true) + KeepDigits(text.mid(BitSetPositions));
}

QString ServiceWordFromEdit(const QString &text)
{
    return ServiceWordTyped(FittedToWidth(text, WordLength));
}

QString ServiceWordRangeRefusal(const QString &before, const QString &after)
{
    // The changed characters lie between what both texts share at their start and
    // at their end.
    qsizetype first = 0;
    while (first < before.size() && first < after.size() && before[first] == after[first]) {
        ++first;
    }
    qsizetype tail = 0;
    while (tail < before.size() - first && tail < after.size() - first
        && before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
        ++tail;
    }
    const qsizetype end = after.size() - tail;
    for (qsizetype i = std::max<qsizetype>(first, BitSetPositions);
         i < std::min<qsizetype>(end, WordLength); ++i) {
        const int position = static_cast<int>(i) + 1;
        const int digit = after[i].unicode() - u'0';
        if (digit < 1 || digit > ServiceWordListDigits(position)) {
            return QStringLiteral("%1 (позиция %2 служебного слова): допустимы цифры от 1 до %3.")
                .arg(ServiceWordListCaption(position))
                .arg(position)
                .arg(ServiceWordListDigits(position));
        }
    }
    return QString();
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
