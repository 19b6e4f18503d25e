#pragma once

#include <array>
#include <cstdint>

// The one transmit buffer. A command is built here by builders that append at
// Count and then written by SendCommand. Count stays within 0..Size: an append
// that would not fit first drops the bytes that failed sends left behind, so the
// new message always goes out whole and nothing is written past the end.
class CommandBuffer
{
public:
    static constexpr int Size = 1004;

    // Starts a new command: Count := 0.
    void Start() { m_count = 0; }

    void append(std::uint8_t b) { append(&b, 1); }
    void append(const std::uint8_t *bytes, int n);

    // Removes the first n bytes after they were written; the bytes not written move
    // to the front, so a later append follows exactly what is still to be sent.
    void consume(int n);

    int Count() const { return m_count; }
    const std::uint8_t *data() const { return m_bytes.data(); }

private:
    std::array<std::uint8_t, Size> m_bytes {};
    std::int32_t m_count = 0;
};
