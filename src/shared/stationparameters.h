#pragma once

#include <QString>
#include <QStringView>

// The PC's copy of the station's parameter set. The station's values are texts of
// hex digit characters, kept exactly as last reported, typed or decoded.
struct StationParameters
{
    static constexpr int ChannelGroups = 4; // the station reports four, the PC sends three
    static constexpr int SentChannelGroups = 3;

    // Service word: eight positions, 1 to 8 from the left.
    QString ToolWord = QStringLiteral("01111111");

    // Upper and lower deviation thresholds of ДМВ, МВ and ГМВ.
    QString DeviacD = QStringLiteral("00");
    QString DeviacM = QStringLiteral("00");
    QString DeviacG = QStringLiteral("00");
    QString Deviacd2 = QStringLiteral("00");
    QString DeviacM2 = QStringLiteral("00");
    QString DeviacG2 = QStringLiteral("00");

    // Sensitivity parameters: reserve byte (two hex digits) and the МВ and ГМВ attenuation.
    QString reserv;
    QString Osl_mw;
    QString osl_gmw;

    // Receive and transmit channel numbers of the МВ channel groups 1..4.
    QString PrmMv1 = QStringLiteral("000");
    QString PrdMv1 = QStringLiteral("000");
    QString PrmMv2 = QStringLiteral("000");
    QString PrdMv2 = QStringLiteral("000");
    QString PrmMv3 = QStringLiteral("000");
    QString PrdMv3 = QStringLiteral("000");
    QString PrmMv4 = QStringLiteral("000");
    QString PrdMv4 = QStringLiteral("000");

    QString Mehanik; // number of the electromechanic on duty
    QString ProgramVersion; // as the station reports it
    bool MvSensitivityCheckAllowed = false; // PC-side only, never sent

    static QString AccessCode() { return QStringLiteral("9316"); }

    // Receive (Prm) and transmit (Prd) channel numbers of group 1..4.
    QString &PrmMv(int group);
    QString &PrdMv(int group);
    const QString &PrmMv(int group) const;
    const QString &PrdMv(int group) const;

    // The functions reserved for the holder of the access code are open.
    bool AccessGranted() const { return Mehanik == AccessCode(); }

    // Bits of service word position 1..8 (see ServiceWordBits).
    int ToolWordBits(int position) const;

    bool DmvBlocked() const { return ToolWordBits(2) & 0x1; }
    bool MvBlocked() const { return ToolWordBits(2) & 0x2; }
    bool GmvBlocked() const { return ToolWordBits(2) & 0x4; }
    bool HourlySelfTest() const { return ToolWordBits(3) & 0x2; }

    // Service word position 1..8 read as a decimal digit, or -1 for another character.
    int ToolWordDigit(int position) const;
};

// Bits of position 1..8 of a service word: the value of the position's hex digit
// ("A" is 10), exactly as the station takes the nibble the PC sends for it. Every
// reader of the word's bit sets (the main window, the tests, the result texts, the
// dialogs, the hourly repetition and the simulator) goes through this one reading.
// A character that is not a hex digit, or a position the word does not reach, has
// no bits.
int ServiceWordBits(QStringView word, int position);
