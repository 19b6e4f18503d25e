#pragma once

#include <cstddef>
#include <cstdint>

// The record of one framed message from the station: the opening byte, the state,
// eight nibble cells in arrival order and the number of nibbles received. Its byte
// layout is shared by the frame assembly, the dispatcher and the test sequences,
// which copy it whole.
struct MessageFrame
{
    enum : std::uint8_t { Examined = 0, Assembling = 1, Complete = 2 };
    static constexpr int NibbleCells = 8;

    std::uint8_t Code = 0;
    std::uint8_t State = 0;
    std::uint8_t Nibble[NibbleCells] = {};
    std::uint8_t Count = 0;
};

static_assert(sizeof(MessageFrame) == 11, "MessageFrame must keep its 11-byte layout");
static_assert(offsetof(MessageFrame, Code) == 0);
static_assert(offsetof(MessageFrame, State) == 1);
static_assert(offsetof(MessageFrame, Nibble) == 2);
static_assert(offsetof(MessageFrame, Count) == 10);

// Every byte on the line belongs to one class, decided by its high nibble.
enum class ByteClass : std::uint8_t {
    Other, // 0x00..0x7F: no meaning, only logged
    NibbleByte, // 0x80..0x8F: one 4-bit value, valid inside a frame
    StatusCode, // 0x90..0xDF: a complete one-byte message
    Boundary, // 0xE0..0xFF: even opens a frame, odd closes one
};

constexpr ByteClass ClassOfByte(std::uint8_t b)
{
    constexpr ByteClass byHighNibble[16] = {
        ByteClass::Other,
        ByteClass::Other,
        ByteClass::Other,
        ByteClass::Other,
        ByteClass::Other,
        ByteClass::Other,
        ByteClass::Other,
        ByteClass::Other,
        ByteClass::NibbleByte,
        ByteClass::StatusCode,
        ByteClass::StatusCode,
        ByteClass::StatusCode,
        ByteClass::StatusCode,
        ByteClass::StatusCode,
        ByteClass::Boundary,
        ByteClass::Boundary,
    };
    return byHighNibble[b >> 4];
}

// A nibble byte as sent to the station: 0x80 | value.
constexpr std::uint8_t NibbleByteOf(int value)
{
    return static_cast<std::uint8_t>(0x80 | (value & 0x0F));
}
