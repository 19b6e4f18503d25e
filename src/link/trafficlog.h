#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>

// A ring of 1001 cells that keeps the last 1000 bytes of one direction of traffic.
// Appending never allocates.
class TrafficLog
{
public:
    static constexpr int Cells = 1001;
    static constexpr int Capacity = Cells - 1;

    void append(std::uint8_t b)
    {
        m_cells[m_write] = b;
        m_write = next(m_write);
        if (m_write == m_read) {
            m_read = next(m_read); // full: the oldest byte is dropped
        }
    }

    void clear() { m_read = m_write = 0; }

    int size() const { return m_write >= m_read ? m_write - m_read : Cells - m_read + m_write; }

    // The bytes kept, oldest first.
    QByteArray bytes() const;

private:
    static int next(int index) { return index == Cells - 1 ? 0 : index + 1; }

    std::array<std::uint8_t, Cells> m_cells {};
    int m_read = 0;
    int m_write = 0;
};
