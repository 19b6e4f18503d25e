#include "link/framedispatcher.h"

#include "link/stationview.h"
#include "shared/codecs.h"
#include "shared/stationdata.h"

namespace {

using Field = StationView::Field;

// h(cFirst) .. h(cLast): the cells as hex digit characters.
QString hexCells(const MessageFrame &f, int first, int last)
{
    QString text;
    for (int i = first; i <= last; ++i) {
        text.append(NibbleToHexChar(f.Nibble[i]));
    }
    return text;
}

// d(cFirst) .. d(cLast): each cell's decimal value, written one after another.
QString decimalCells(const MessageFrame &f, int first, int last)
{
    QString text;
    for (int i = first; i <= last; ++i) {
        text.append(QString::number(f.Nibble[i]));
    }
    return text;
}

// "0" stays "0"; otherwise an odd character code is a fault and an even one normal.
QString sensitivityVerdict(QChar c)
{
    if (c == u'0') {
        return QStringLiteral("0");
    }
    return (c.unicode() & 1) ? QStringLiteral("Брак") : QStringLiteral("Норма");
}

// The three two-digit values of a parameter group frame: h(c2)h(c3), h(c4)h(c5), h(c6)h(c7).
void takeThreePairs(const MessageFrame &f, QString &first, QString &second, QString &third)
{
    first = hexCells(f, 2, 3);
    second = hexCells(f, 4, 5);
    third = hexCells(f, 6, 7);
}

int pair(const MessageFrame &f, int first)
{
    return f.Nibble[first] * 10 + f.Nibble[first + 1];
}

} // namespace

FrameDispatcher::FrameDispatcher(StationData &station, StationView &view)
    : m_station(station)
    , m_view(view)
{ }

void FrameDispatcher::DispatchFrame(const MessageFrame &f)
{
    if (collect(f)) {
        return;
    }
    StationParameters &params = m_station.params;
    switch (f.Code) {
    case 0xE2:
        testReport(f);
        break;
    case 0xE4:
        channels(f);
        break;
    case 0xE8:
        params.ToolWord = hexCells(f, 0, 7);
        m_view.ShowServiceWord();
        break;
    case 0xEA:
        parameterGroup(f);
        break;
    case 0xEC:
        trainNumber(f);
        break;
    case 0xEE:
        locoNumber(f);
        break;
    case 0xF0:
        m_view.showSpecialModeResult(StationView::SpecialResult::EResult1, hexCells(f, 0, 7));
        m_view.beep();
        break;
    case 0xF2: {
        QString text = hexCells(f, 0, 7);
        text[1] = u' ';
        m_view.showSpecialModeResult(StationView::SpecialResult::EResult2, text);
        m_view.beep();
        break;
    }
    case 0xF6:
        params.ProgramVersion = hexCells(f, 2, 7);
        break;
    case 0xF8:
        factoryNumber(f);
        break;
    default:
        break; // codes without a meaning for the PC
    }
}

bool FrameDispatcher::collect(const MessageFrame &f)
{
    TestState &test = m_station.test;
    const int collecting = test.CollectingTest;
    if (collecting < 1 || collecting > 3 || f.Code != CollectionGate[collecting]) {
        return false;
    }
    if (f.Nibble[7] == collecting && test.collect(f)) {
        m_station.factoryDigitsOfResult = m_station.factoryDigits;
    }
    return true; // a result frame of another test is dropped
}

void FrameDispatcher::testReport(const MessageFrame &f)
{
    const int testNumber = f.Nibble[7];
    if (testNumber < 1 || testNumber > 3) {
        return;
    }
    m_station.test.startCollecting(testNumber);
    m_station.test.collect(f);
    m_station.factoryDigitsOfResult = m_station.factoryDigits;
    m_view.postStationTest(testNumber);
}

void FrameDispatcher::channels(const MessageFrame &f)
{
    const int group = f.Nibble[1];
    if (group < 1 || group > StationParameters::ChannelGroups) {
        return;
    }
    m_station.params.PrmMv(group) = hexCells(f, 2, 4);
    m_station.params.PrdMv(group) = hexCells(f, 5, 7);
}

void FrameDispatcher::parameterGroup(const MessageFrame &f)
{
    StationParameters &params = m_station.params;
    Measurements &measured = m_station.measurements;
    switch (f.Nibble[1]) {
    case 0:
        takeThreePairs(f, params.DeviacD, params.DeviacM, params.DeviacG);
        break;
    case 1:
        takeThreePairs(f, params.Deviacd2, params.DeviacM2, params.DeviacG2);
        break;
    case 2:
        takeThreePairs(f, params.reserv, params.Osl_mw, params.osl_gmw);
        break;
    case 3:
        takeThreePairs(f, measured.DeviacD, measured.DeviacM, measured.DeviacG);
        m_view.showField(Field::DmvDeviation, measured.DeviacD);
        m_view.showField(Field::MvDeviation, measured.DeviacM);
        m_view.showField(Field::GmvDeviation, measured.DeviacG);
        break;
    case 4:
        measured.MvVerdict = NibbleToHexChar(f.Nibble[2]);
        measured.MvAttenuation = hexCells(f, 3, 4);
        measured.GmvVerdict = NibbleToHexChar(f.Nibble[5]);
        measured.GmvAttenuation = hexCells(f, 6, 7);
        m_view.showField(Field::MvAttenuation, measured.MvAttenuation);
        m_view.showField(Field::GmvAttenuation, measured.GmvAttenuation);
        m_view.showField(Field::MvVerdict, sensitivityVerdict(measured.MvVerdict));
        m_view.showField(Field::GmvVerdict, sensitivityVerdict(measured.GmvVerdict));
        break;
    case 5:
        m_view.showField(Field::LiuLevel, hexCells(f, 3, 5));
        break;
    default:
        break;
    }
}

void FrameDispatcher::trainNumber(const MessageFrame &f)
{
    m_station.ReceivedTrainNumber = hexCells(f, 2, 5);
    QString digits = decimalCells(f, 2, 5);
    if (digits == QLatin1String("0000")) {
        digits = QStringLiteral("XXXX");
    }
    QString line = QStringLiteral("Номер поезда: ") + digits;
    if (f.Nibble[0] == 9 && f.Nibble[1] == 7) {
        line += QStringLiteral(". Код теста1 р/c: ") + hexCells(f, 6, 7);
    }
    m_view.AddMessageLine(line, true);
    m_station.numbers.TrainNumber = m_station.ReceivedTrainNumber;
}

void FrameDispatcher::locoNumber(const MessageFrame &f)
{
    m_station.ReceivedLocoNumber = hexCells(f, 1, 7);
    m_view.AddMessageLine(QStringLiteral("Номер локомотива: ") + decimalCells(f, 1, 7), true);
    m_station.numbers.LocoNumber = m_station.ReceivedLocoNumber;
}

void FrameDispatcher::factoryNumber(const MessageFrame &f)
{
    const int n = pair(f, 0); // block number
    const int a = pair(f, 2);
    const int b = pair(f, 4);
    const int check = pair(f, 6);
    if ((a + b + n) % 100 != check) {
        return; // a damaged report: nothing changes
    }
    const std::uint8_t digits[4] = { f.Nibble[2], f.Nibble[3], f.Nibble[4], f.Nibble[5] };
    if (!m_station.factoryDigits.setBlockNumber(n, digits)) {
        return; // a block number that has no cells
    }
    m_view.AddMessageLine(QStringLiteral("Зав. номер %1 = %2%3")
                              .arg(n)
                              .arg(ZeroPaddedNumber(a, 2), ZeroPaddedNumber(b, 2)),
        true);
}
