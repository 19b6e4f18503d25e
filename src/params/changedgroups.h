#pragma once

#include <QtGlobal>

// Which groups of the parameters window were edited and not yet sent: one bit per
// group (0 service word, 1 thresholds, 2..4 МВ channel groups 1..3, 6 sensitivity).
// Other group numbers have no bit.
class ChangedGroups
{
public:
    static constexpr int ServiceWord = 0;
    static constexpr int Thresholds = 1;
    static constexpr int FirstChannels = 2; // groups 2, 3, 4: МВ channel groups 1, 2, 3
    static constexpr int LastChannels = 4;
    static constexpr int Sensitivity = 6;
    static constexpr int SendAll = 10; // the send-all control; it has no bit of its own

    static constexpr quint16 Bit(int group)
    {
        const bool hasBit = (group >= ServiceWord && group <= LastChannels) || group == Sensitivity;
        return hasBit ? static_cast<quint16>(1u << group) : 0;
    }

    void mark(int group) { m_word |= Bit(group); }
    void clear(int group) { m_word &= static_cast<quint16>(~Bit(group)); }
    void clearAll() { m_word = 0; }

    quint16 word() const { return m_word; }
    bool any() const { return m_word != 0; }

private:
    quint16 m_word = 0;
};
