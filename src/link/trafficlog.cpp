#include "link/trafficlog.h"

QByteArray TrafficLog::bytes() const
{
    QByteArray out;
    out.reserve(size());
    for (int i = m_read; i != m_write; i = next(i)) {
        out.append(static_cast<char>(m_cells[i]));
    }
    return out;
}
