#pragma once

#include <array>
#include <cstdint>

// The factory numbers of the blocks of the radio station under test, as received:
// 8 blocks of 16 digit cells, four cells for each block number 10..41.
class ReceivedFactoryDigits
{
public:
    static constexpr int Blocks = 8;
    static constexpr int CellsPerBlock = 16;
    static constexpr int FirstBlockNumber = 10;
    static constexpr int LastBlockNumber = 41;

    void clear() { m_cells = {}; }

    // Stores the four digits of block number n; false (and nothing written) for a
    // number outside 10..41.
    bool setBlockNumber(int n, const std::uint8_t (&digits)[4]);

    // Cell 1..16 of block 1..8.
    std::uint8_t cell(int block, int cell) const
    {
        return m_cells[static_cast<std::size_t>(block - 1)][static_cast<std::size_t>(cell - 1)];
    }

private:
    std::array<std::array<std::uint8_t, CellsPerBlock>, Blocks> m_cells {};
};
