#pragma once

#include <QChar>
#include <QString>

#include <cstdint>

// The last values the station measured during a radio test.
struct Measurements
{
    // Measured deviations of ДМВ, МВ and ГМВ.
    QString DeviacD = QStringLiteral("00");
    QString DeviacM = QStringLiteral("00");
    QString DeviacG = QStringLiteral("00");
    // МВ and ГМВ sensitivity: the verdict character and the attenuation.
    QChar MvVerdict = u'0';
    QString MvAttenuation = QStringLiteral("00");
    QChar GmvVerdict = u'0';
    QString GmvAttenuation = QStringLiteral("00");

    void reset() { *this = Measurements(); }
};

// Which messages of a radio test the station reported per band: five characters
// "0" or "1" each, set by the band status codes and kept until reset.
struct BandMessages
{
    QString MesD = QStringLiteral("00000");
    QString MesG = QStringLiteral("00000");
    QString MesM = QStringLiteral("00000");

    void reset() { *this = BandMessages(); }

    // Sets the flag a band status code stands for; false for any other code.
    bool markReceived(std::uint8_t statusCode);
};
