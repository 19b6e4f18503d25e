#pragma once

#include <QByteArray>

class QRandomGenerator;

// Random bytes of the kinds a disturbed line brings: bytes below 0x80, nibble bytes
// outside frames, stray closing bytes and frames cut off by a wrong closing byte or
// by too many nibbles. It holds no status code and no complete frame, so a receiver
// that frames correctly takes nothing from it, and it ends outside any frame.
QByteArray LineNoise(QRandomGenerator &random, int length);
