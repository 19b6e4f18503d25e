#pragma once

#include "link/commandport.h"

#include <QByteArray>

#include <algorithm>

// A port that accepts up to a set number of bytes per write (all by default),
// remembering what it took and the time limit it was given.
class FakePort final : public CommandPort
{
public:
    bool isOpen() const override { return open; }

    long long writeBytes(const std::uint8_t *data, long long size, int timeLimitMs) override
    {
        lastTimeLimitMs = timeLimitMs;
        ++writes;
        if (accept < 0) {
            return -1;
        }
        const long long taken = std::min<long long>(size, accept);
        written.append(reinterpret_cast<const char *>(data), static_cast<qsizetype>(taken));
        return taken;
    }

    bool open = true;
    long long accept = 1 << 20; // bytes taken per write; negative: the write fails
    QByteArray written;
    int lastTimeLimitMs = -1;
    int writes = 0;
};
