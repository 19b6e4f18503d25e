#pragma once

#include "link/commandbuffer.h"

#include <QByteArray>

// Bytes written as in the protocol's notes: "E4 81 82 E5".
inline QByteArray Bytes(const char *hex)
{
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

inline QByteArray BufferBytes(const CommandBuffer &buffer)
{
    return QByteArray(reinterpret_cast<const char *>(buffer.data()), buffer.Count());
}
