#pragma once

#include "shared/messageframe.h"

#include <QString>
#include <QStringView>

#include <cstdint>

// Small codecs shared by the protocol, the tests and the parameter set. Values from
// the station become texts of hexadecimal digit characters.

// The low nibble of b as one character, "0".."9" or "A".."F".
QChar NibbleToHexChar(std::uint8_t b);

// Two upper-case hex digits, high nibble first: 0xE4 gives "E4".
QString ByteToHexText(std::uint8_t b);

// The value of a hex text of one or two characters ("1f" gives 31), read from the
// left up to the first character that is not a hex digit ("1G" gives 1). Any other
// length gives 0.
int HexTextToValue(QStringView text);

// The value of one digit character as a nibble: "0".."9", "A".."F", "a".."f";
// any other character gives 0.
int HexDigitValue(QChar c);

struct FrameNibbles
{
    QString text; // one hex character per cell, cell 0 first
    std::uint32_t value = 0; // sum of cell i * 16^i: cell 0 is the least significant
};

// The first n cells of the frame (n = -1: the frame's Count).
FrameNibbles FrameNibblesToText(const MessageFrame &frame, int n = -1);

// text with "0" put in front up to width characters.
QString PadWithZeros(const QString &text, int width);

// The typing rule of the digit fields: every character that is not a decimal digit
// becomes "0" ("12a" gives "120"); with hexLetters, "A".."F" and "a".."f" are kept
// as upper-case hex digits.
QString KeepDigits(const QString &text, bool hexLetters = false);

// The decimal text of value with "0" put in front up to width characters.
QString ZeroPaddedNumber(long long value, int width);
