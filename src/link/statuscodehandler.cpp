#include "link/statuscodehandler.h"

#include "link/attenuationlookup.h"
#include "link/commandbuffer.h"
#include "link/commands.h"
#include "link/commandsender.h"
#include "link/ranges.h"
#include "link/stationview.h"
#include "shared/stationdata.h"

#include <algorithm>

namespace {

using Band = StationView::Band;
using Alarm = StationView::Alarm;

constexpr int NeedleStep = 10;
constexpr int NeedleMax = 100;

// The grid text of a status code, or nullptr when it has none.
const char16_t *textOf(std::uint8_t code)
{
    switch (code) {
    case 0xA9:
        return u"Норма запроса.Ждите окончания теста";
    case 0xAB:
        return u"Нет подтверждения";
    case 0xAC:
        return u"Не совпал ППНЛ";
    case 0xAD:
        return u"Совпал ППНЛ";
    case 0xAE:
        return u"Не совпал ППНК";
    case 0xAF:
        return u"Совпал ППНК";
    case 0xB0:
        return u"Наличие КС";
    case 0xB1:
        return u"Наличие тона 2772";
    case 0xB2:
    case 0xB4:
        return u"Наличие тона 2941";
    case 0xB3:
        return u"Наличие тона 2272";
    case 0xB5:
    case 0xB7:
        return u"Наличие 700 гц первый раз";
    case 0xB6:
    case 0xB8:
        return u"Наличие 700 гц второй раз";
    case 0xB9:
        return u"Проверка НЧ РС";
    case 0xBA:
    case 0xBB:
    case 0xBC:
        return u"Прием № поезда и передача ППНП";
    case 0xBD:
        return u"Передан ППНЛ по ДМВ";
    case 0xBE:
    case 0xBF:
        return u"Прием № локомотива и передача ППНЛ";
    case 0xC7:
        return u"ПРМ вызова 1";
    case 0xC8:
        return u"ПРМ вызова 2";
    default:
        return nullptr;
    }
}

} // namespace

StatusCodeHandler::StatusCodeHandler(
    StationData &station, StationView &view, CommandBuffer &buffer, CommandSender &sender)
    : m_station(station)
    , m_view(view)
    , m_buffer(buffer)
    , m_sender(sender)
{ }

void StatusCodeHandler::HandleStatusCode(std::uint8_t code)
{
    showText(code);
    applyEffect(code);
}

void StatusCodeHandler::showText(std::uint8_t code)
{
    const char16_t *text = textOf(code);
    if (text == nullptr) {
        return;
    }
    // The 700 Hz codes switch to the band's standby channel range. The range column
    // of their line shows the new range; the range field keeps its text.
    const StationParameters &params = m_station.params;
    const int range = m_station.CurrentRange;
    if ((code == 0xB5 || code == 0xB6) && range != RangeMV1 && range != RangeMV4) {
        const int channel = params.ToolWordDigit(8); // МВ standby channel 1..4
        if (channel >= 1 && channel <= 4) {
            m_station.CurrentRange = channel + 2;
        }
    } else if ((code == 0xB7 || code == 0xB8) && range != RangeGMV1 && range != RangeGMV2) {
        const int channel = params.ToolWordDigit(7); // ГМВ standby channel 1..2
        if (channel >= 1 && channel <= 2) {
            m_station.CurrentRange = channel;
        }
    }
    m_view.AddMessageLine(QString::fromUtf16(text), true);
}

void StatusCodeHandler::setRange(int range)
{
    m_station.CurrentRange = range;
    m_view.showRangeName(RangeName(range));
}

void StatusCodeHandler::applyEffect(std::uint8_t code)
{
    const bool dmvBlocked = m_station.params.DmvBlocked();
    if (code >= 0x90 && code <= 0x96) {
        setRange(code - 0x90);
        return;
    }
    if (code >= 0xB0 && code <= 0xBF) {
        m_station.bands.markReceived(code);
        return;
    }
    switch (code) {
    case 0x98:
        m_view.beep();
        m_view.showAlarm(Alarm::SchMv, true);
        break;
    case 0x99:
        m_view.beep();
        m_view.showAlarm(Alarm::UmMv, true);
        break;
    case 0x9A:
        m_view.beep();
        m_view.showAlarm(Alarm::UmGmv, true);
        break;
    case 0xA0:
        if (!dmvBlocked) {
            m_view.setTransmitting(Band::Dmv, true);
        }
        break;
    case 0xA1:
        m_view.setTransmitting(Band::Mv, true);
        m_view.showAlarm(Alarm::UmMv, false);
        break;
    case 0xA2:
        m_view.setTransmitting(Band::Gmv, true);
        m_view.showAlarm(Alarm::UmGmv, false);
        break;
    case 0xA3:
        m_view.setTransmitting(Band::Dmv, false);
        break;
    case 0xA4:
        m_view.setTransmitting(Band::Mv, false);
        break;
    case 0xA5:
        m_view.setTransmitting(Band::Gmv, false);
        break;
    case 0xAB:
        m_station.test.NoConfirmation = true;
        break;
    case 0xC0:
        stationFree();
        break;
    case 0xC5:
        m_view.setDmvLineSignal(false);
        break;
    case 0xC6:
        m_view.setDmvLineSignal(true);
        break;
    case 0xC9:
        stationBusy();
        m_view.showStationFree(false);
        m_view.SetCommandMenus(false);
        break;
    case 0xCB:
        stepNeedle();
        break;
    case 0xCC:
        answerAttenuationRequest();
        break;
    default:
        break;
    }
}

void StatusCodeHandler::stationBusy()
{
    TestState &test = m_station.test;
    // The first busy report while no test collects is, as far as the PC can see, the
    // start of a test the station runs on its own; its reports follow.
    if (!test.StationBusy && test.CollectingTest == 0) {
        m_station.beginRadioTestReports();
    }
    test.StationBusy = true;
}

void StatusCodeHandler::stationFree()
{
    m_station.test.StationBusy = false;
    m_station.factoryDigits.clear();
    m_view.showStationFree(true);
    const int collecting = m_station.test.CollectingTest;
    if (collecting == 0) {
        m_view.SetCommandMenus(true);
    }
    if (!m_station.params.DmvBlocked()) {
        setRange(RangeDMV);
    }
    if (collecting != 1) {
        m_view.ResetResultsPanel();
    }
}

void StatusCodeHandler::stepNeedle()
{
    m_needlePosition = std::clamp(m_needlePosition + m_needleDirection * NeedleStep, 0, NeedleMax);
    if (m_needlePosition >= NeedleMax) {
        m_needleDirection = -1;
    } else if (m_needlePosition == 0) {
        m_needleDirection = +1;
    }
    m_view.setNeedle(m_needlePosition);
}

void StatusCodeHandler::answerAttenuationRequest()
{
    using Outcome = AttenuationLookup::Outcome;
    const AttenuationLookup::Result result
        = m_lookup ? m_lookup->find(m_station.numbers.LocoNumber) : AttenuationLookup::Result {};
    const bool found = result.outcome == Outcome::Found;
    // Corrections outside 0..99 are sent as the nearest end of that range; the station
    // needs an answer even when the register cannot be read.
    const int mv = found ? int(std::clamp<qint64>(result.corrections.mv, 0, 99)) : 0;
    const int gmv = found ? int(std::clamp<qint64>(result.corrections.gmv, 0, 99)) : 0;

    // The reply follows whatever the buffer still counts from a failed send.
    AppendAttenuationCorrectionFrame(m_buffer, mv, gmv);
    m_sender.SendCommand();

    switch (result.outcome) {
    case Outcome::Found:
        m_view.AddMessageLine(
            QStringLiteral("Коррекция ослабления (МВ, ГМВ): %1 %2").arg(mv).arg(gmv), false);
        break;
    case Outcome::NotRegistered:
        m_view.AddMessageLine(QStringLiteral("Коррекция ослабления: ??"), false);
        break;
    case Outcome::Unreadable:
        m_view.AddMessageLine(
            QStringLiteral("Коррекция ослабления: ошибка чтения таблицы РВ.db"), false);
        break;
    }
}
