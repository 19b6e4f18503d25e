#pragma once

#include "sim/stationframes.h"

#include <cstdint>

// Status codes the station sends, and the codes of its frames.
namespace StationCode {
constexpr std::uint8_t RangeBase = 0x90; // 0x90 + range index
constexpr std::uint8_t AmplifierAlarmMv = 0x99;
constexpr std::uint8_t AmplifierAlarmGmv = 0x9A;
constexpr std::uint8_t RequestAccepted = 0xA9; // "Норма запроса.Ждите окончания теста"
constexpr std::uint8_t NoConfirmation = 0xAB;
constexpr std::uint8_t LocoMessageMismatch = 0xAC; // ППНЛ
constexpr std::uint8_t LocoMessageMatch = 0xAD;
constexpr std::uint8_t ControlMessageMismatch = 0xAE; // ППНК
constexpr std::uint8_t ControlMessageMatch = 0xAF;
constexpr std::uint8_t LowFrequencyCheck = 0xB9;
constexpr std::uint8_t Free = 0xC0;
constexpr std::uint8_t CallReceived1 = 0xC7;
constexpr std::uint8_t CallReceived2 = 0xC8;
constexpr std::uint8_t Busy = 0xC9;
constexpr std::uint8_t NeedleStep = 0xCB;
constexpr std::uint8_t CorrectionRequest = 0xCC;

constexpr std::uint8_t InfoFrame = 0xE0;
constexpr std::uint8_t TestFrame = 0xE2;
constexpr std::uint8_t MeasurementFrame = 0xEA;
constexpr std::uint8_t TrainNumberFrame = 0xEC;
constexpr std::uint8_t LocoNumberFrame = 0xEE;
constexpr std::uint8_t SpecialResult1Frame = 0xF0;
constexpr std::uint8_t SpecialResult2Frame = 0xF2;
constexpr std::uint8_t CorrectionFrame = 0xF4;
constexpr std::uint8_t FactoryNumberFrame = 0xF8;

// Sub-codes of the measurement frame.
constexpr int Deviations = 3;
constexpr int Sensitivity = 4;
constexpr int Liu = 5;
} // namespace StationCode

// The status codes that belong to one band: its transmit indicator, its amplifier
// alarm and the messages of its test steps.
struct BandCodes
{
    std::uint8_t transmitOn;
    std::uint8_t transmitOff;
    std::uint8_t amplifierAlarm;
    std::uint8_t locoMessage; // "Прием № локомотива и передача ППНЛ" (ДМВ: "Передан ППНЛ")
    std::uint8_t trainMessage; // "Прием № поезда и передача ППНП"
    std::uint8_t tones[3]; // the signals heard, in the order the station checks them
};

const BandCodes &CodesOfBand(Band band);
