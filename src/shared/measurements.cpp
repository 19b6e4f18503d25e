#include "shared/measurements.h"

#include <array>

bool BandMessages::markReceived(std::uint8_t statusCode)
{
    struct Flag
    {
        std::uint8_t code;
        QString BandMessages::*band;
        int position; // 1..5
    };
    static const std::array<Flag, 15> flags { {
        { 0xBD, &BandMessages::MesD, 1 },
        { 0xBA, &BandMessages::MesD, 2 },
        { 0xB2, &BandMessages::MesD, 3 },
        { 0xB1, &BandMessages::MesD, 4 },
        { 0xB0, &BandMessages::MesD, 5 },
        { 0xBF, &BandMessages::MesG, 1 },
        { 0xBC, &BandMessages::MesG, 2 },
        { 0xB8, &BandMessages::MesG, 3 },
        { 0xB7, &BandMessages::MesG, 4 },
        { 0xB4, &BandMessages::MesG, 5 },
        { 0xBE, &BandMessages::MesM, 1 },
        { 0xBB, &BandMessages::MesM, 2 },
        { 0xB6, &BandMessages::MesM, 3 },
        { 0xB5, &BandMessages::MesM, 4 },
        { 0xB3, &BandMessages::MesM, 5 },
    } };
    for (const Flag &flag : flags) {
        if (flag.code == statusCode) {
            QString &band = this->*flag.band;
            if (band.size() < flag.position) {
                band = band.leftJustified(5, u'0');
            }
            band[flag.position - 1] = u'1';
            return true;
        }
    }
    return false;
}
