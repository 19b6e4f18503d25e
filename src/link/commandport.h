#pragma once

#include <cstdint>

// Where SendCommand writes: the open serial port, or a fake in the tests.
class CommandPort
{
public:
    virtual ~CommandPort() = default;

    virtual bool isOpen() const = 0;

    // Offers size bytes to the port and returns how many it accepted (0..size)
    // within timeLimitMs; never takes longer than that.
    virtual long long writeBytes(const std::uint8_t *data, long long size, int timeLimitMs) = 0;
};
