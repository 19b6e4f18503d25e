#include "link/commandbuffer.h"

#include <QtGlobal>

#include <algorithm>
#include <cstring>

void CommandBuffer::append(const std::uint8_t *bytes, int n)
{
    Q_ASSERT(n >= 0 && n <= Size);
    n = std::clamp(n, 0, Size);
    if (m_count + n > Size) {
        m_count = 0;
    }
    std::memcpy(m_bytes.data() + m_count, bytes, static_cast<std::size_t>(n));
    m_count += n;
}

void CommandBuffer::consume(int n)
{
    n = std::clamp(n, 0, static_cast<int>(m_count));
    std::memmove(m_bytes.data(), m_bytes.data() + n, static_cast<std::size_t>(m_count - n));
    m_count -= n;
}
