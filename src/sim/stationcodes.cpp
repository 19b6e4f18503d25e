#include "sim/stationcodes.h"

const BandCodes &CodesOfBand(Band band)
{
    static constexpr BandCodes dmv { 0xA0, 0xA3, StationCode::AmplifierAlarmMv, 0xBD, 0xBA,
        { 0xB1, 0xB2, 0xB0 } };
    static constexpr BandCodes mv { 0xA1, 0xA4, StationCode::AmplifierAlarmMv, 0xBE, 0xBB,
        { 0xB5, 0xB6, 0xB3 } };
    static constexpr BandCodes gmv { 0xA2, 0xA5, StationCode::AmplifierAlarmGmv, 0xBF, 0xBC,
        { 0xB7, 0xB8, 0xB4 } };
    switch (band) {
    case Band::Mv:
        return mv;
    case Band::Gmv:
        return gmv;
    case Band::Dmv:
        break;
    }
    return dmv;
}
