#include "sim/course.h"

Course &Course::then(int pauseMs, QByteArray bytes)
{
    steps.append({ pauseMs, [b = std::move(bytes)] { return b; } });
    return *this;
}

Course &Course::then(int pauseMs, std::function<QByteArray()> bytes)
{
    steps.append({ pauseMs, std::move(bytes) });
    return *this;
}

Course &Course::loopHere()
{
    loopFrom = static_cast<int>(steps.size());
    return *this;
}

QByteArray StatusByte(int code)
{
    return QByteArray(1, static_cast<char>(code));
}
