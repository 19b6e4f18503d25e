#pragma once

#include <QString>

#include <cstdint>

// The radio ranges in protocol order; the range byte is 0x90 + index.
enum Range : int {
    RangeDMV = 0, // ДМВ
    RangeGMV1 = 1,
    RangeGMV2 = 2,
    RangeMV1 = 3,
    RangeMV2 = 4,
    RangeMV3 = 5,
    RangeMV4 = 6, // reported by the station only; the dialogs offer the first six
};

constexpr int RangeCount = 7;
constexpr int SelectableRangeCount = 6;

// "ДМВ", "ГМВ1", … "МВ4"; an empty text for any other index.
QString RangeName(int index);

constexpr std::uint8_t RangeByte(int index)
{
    return static_cast<std::uint8_t>(0x90 + index);
}
