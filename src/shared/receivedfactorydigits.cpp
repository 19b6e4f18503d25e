#include "shared/receivedfactorydigits.h"

bool ReceivedFactoryDigits::setBlockNumber(int n, const std::uint8_t (&digits)[4])
{
    if (n < FirstBlockNumber || n > LastBlockNumber) {
        return false;
    }
    const int offset = n - FirstBlockNumber;
    auto &block = m_cells[static_cast<std::size_t>(offset / 4)];
    const int first = 4 * (offset % 4); // cells first+1 .. first+4, counted from 1
    for (int i = 0; i < 4; ++i) {
        block[static_cast<std::size_t>(first + i)] = digits[i];
    }
    return true;
}
