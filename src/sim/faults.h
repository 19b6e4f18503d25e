#pragma once

#include "sim/stationframes.h"

#include <array>
#include <cstdint>

// Faults the operator asked the station to show in its next test.
struct InjectedFaults
{
    static constexpr int ResultCells = 7;
    static constexpr int NoConfirmationPosition = 8;

    // The result nibbles, position 1 (cell 0) first; 0 is no fault.
    std::array<std::uint8_t, ResultCells> result {};
    // The locomotive radio does not confirm the request: 0xAB instead of a result.
    bool noConfirmation = false;
    // The station reports no factory numbers of the radio's blocks.
    bool noFactoryNumbers = false;

    // Radio test result positions 1..3 are the bands, 4..6 their deviations.
    bool bandFaulty(Band band) const { return result[static_cast<int>(cell(band))] != 0; }
    bool deviationFaulty(Band band) const { return result[3 + cell(band)] != 0; }

private:
    // Result order of the bands: ДМВ, МВ, ГМВ.
    static int cell(Band band) { return band == Band::Dmv ? 0 : (band == Band::Mv ? 1 : 2); }
};
