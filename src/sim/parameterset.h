#pragma once

#include "sim/stationframes.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

struct MessageFrame;

// The operating parameters the station keeps: the service word, the deviation
// thresholds, the sensitivity parameters, the МВ channel groups and the program
// version. Each part is held as the hex digit characters of its message, so what
// the PC sends is reported back exactly.
class SimParameterSet
{
public:
    static constexpr int ChannelGroups = 4;

    SimParameterSet();

    // Takes a parameter message from the PC (0xE8, 0xEA sub-codes 0..2, 0xE4 groups
    // 1..4). Returns false, changing nothing, for any other frame and for a frame
    // that does not carry all eight nibbles.
    bool take(const MessageFrame &frame);

    // The whole set as the station reports it, one frame each: 0xE8, 0xEA sub-codes
    // 0, 1, 2, 0xE4 groups 1 to 4 and the program version 0xF6.
    QList<QByteArray> reportFrames() const;

    // Service word position 1..8 as the PC reads it (ServiceWordBits).
    int serviceDigit(int position) const;

    bool bandBlocked(Band band) const;
    bool lowFrequencyCheck() const { return serviceDigit(1) & 0x1; }
    int gmvStandbyChannel() const { return serviceDigit(7); } // 1..2
    int mvStandbyChannel() const { return serviceDigit(8); } // 1..4

    int upperThreshold(Band band) const;
    int lowerThreshold(Band band) const;
    int mvAttenuation() const;
    int gmvAttenuation() const;

private:
    QString m_serviceWord; // 8 characters
    std::array<QString, 3> m_groups; // sub-codes 0, 1, 2 of 0xEA: 6 characters each
    std::array<QString, ChannelGroups> m_channels; // receive then transmit: 6 characters
    QString m_version; // 6 characters
};
