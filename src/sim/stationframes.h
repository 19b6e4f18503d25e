#pragma once

#include <QByteArray>
#include <QStringView>

#include <array>
#include <cstdint>

// What the station puts on the line: single status bytes and frames of eight
// nibble bytes between an opening byte and its closing byte.
namespace StationFrames {

using Nibbles = std::array<std::uint8_t, 8>;

// The opening byte, eight nibble bytes 0x80 | value and the closing byte (opening | 1).
QByteArray Frame(std::uint8_t code, const Nibbles &nibbles);

// The values of the digit characters of text, padded on the left with "0" to width,
// written into nibbles from position at; a character that is not a hex digit gives 0.
void PutDigits(Nibbles &nibbles, int at, QStringView text, int width);

// The two decimal digits of value (held within 0..99) into nibbles at and at + 1.
void PutTwoDigits(Nibbles &nibbles, int at, int value);

// The decimal value of a text of digit characters; a character that is not a
// decimal digit counts as 0.
int DecimalValue(QStringView digits);

} // namespace StationFrames

// The station's three bands and the range of each call or test.
enum class Band { Dmv, Mv, Gmv };

Band BandOfRange(int range);
