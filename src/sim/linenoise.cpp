#include "sim/linenoise.h"

#include <QRandomGenerator>

namespace {

char Byte(quint32 value)
{
    return static_cast<char>(value & 0xFF);
}

// A frame that never completes: an opening byte, up to nine nibbles, then the
// closing byte of another frame. A receiver drops it at the wrong closing byte, or
// already at the ninth nibble.
QByteArray BrokenFrame(QRandomGenerator &random)
{
    const quint32 index = random.bounded(16);
    QByteArray bytes(1, Byte(0xE0 + 2 * index));
    const int nibbles = static_cast<int>(random.bounded(10));
    for (int i = 0; i < nibbles; ++i) {
        bytes.append(Byte(0x80 + random.bounded(16)));
    }
    const quint32 other = (index + 1 + random.bounded(15)) % 16;
    bytes.append(Byte(0xE1 + 2 * other));
    return bytes;
}

} // namespace

QByteArray LineNoise(QRandomGenerator &random, int length)
{
    QByteArray bytes;
    while (bytes.size() < length) {
        switch (random.bounded(4)) {
        case 0:
            bytes.append(Byte(random.bounded(0x80)));
            break;
        case 1:
            bytes.append(Byte(0x80 + random.bounded(16)));
            break;
        case 2:
            bytes.append(Byte(0xE1 + 2 * random.bounded(16)));
            break;
        default:
            bytes += BrokenFrame(random);
            break;
        }
    }
    return bytes;
}
