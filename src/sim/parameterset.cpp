#include "sim/parameterset.h"

#include "shared/codecs.h"
#include "shared/messageframe.h"
#include "shared/stationparameters.h"

namespace {

constexpr std::uint8_t ServiceWordCode = 0xE8;
constexpr std::uint8_t ParameterGroupCode = 0xEA;
constexpr std::uint8_t ChannelsCode = 0xE4;
constexpr std::uint8_t VersionCode = 0xF6;

constexpr int UpperThresholds = 0;
constexpr int LowerThresholds = 1;
constexpr int Sensitivity = 2;

QString CellsText(const MessageFrame &frame, int from)
{
    QString text;
    for (int i = from; i < MessageFrame::NibbleCells; ++i) {
        text.append(NibbleToHexChar(frame.Nibble[i]));
    }
    return text;
}

// Offset of a band's two digits in the threshold groups: ДМВ, МВ, ГМВ.
int BandOffset(Band band)
{
    switch (band) {
    case Band::Dmv:
        return 0;
    case Band::Mv:
        return 2;
    case Band::Gmv:
        return 4;
    }
    return 0;
}

} // namespace

SimParameterSet::SimParameterSet()
    // Nothing blocked, the ЛМК-3 check on, no hourly self-test, group, channel and
    // standby channel 1 everywhere.
    : m_serviceWord(QStringLiteral("00111111"))
    , m_groups { QStringLiteral("504040"), QStringLiteral("302525"), QStringLiteral("001210") }
    , m_channels { QStringLiteral("101201"), QStringLiteral("102202"), QStringLiteral("103203"),
        QStringLiteral("104204") }
    , m_version(QStringLiteral("020417"))
{ }

bool SimParameterSet::take(const MessageFrame &frame)
{
    if (frame.Count != MessageFrame::NibbleCells) {
        return false;
    }
    const int sub = frame.Nibble[1];
    switch (frame.Code) {
    case ServiceWordCode:
        m_serviceWord = CellsText(frame, 0);
        return true;
    case ParameterGroupCode:
        if (frame.Nibble[0] != 0 || sub > Sensitivity) {
            return false;
        }
        m_groups[sub] = CellsText(frame, 2);
        return true;
    case ChannelsCode:
        if (frame.Nibble[0] != 0 || sub < 1 || sub > ChannelGroups) {
            return false;
        }
        m_channels[sub - 1] = CellsText(frame, 2);
        return true;
    default:
        return false;
    }
}

QList<QByteArray> SimParameterSet::reportFrames() const
{
    using namespace StationFrames;
    QList<QByteArray> frames;
    Nibbles n {};
    PutDigits(n, 0, m_serviceWord, 8);
    frames.append(Frame(ServiceWordCode, n));
    for (int sub = 0; sub < static_cast<int>(m_groups.size()); ++sub) {
        n = { 0, static_cast<std::uint8_t>(sub) };
        PutDigits(n, 2, m_groups[sub], 6);
        frames.append(Frame(ParameterGroupCode, n));
    }
    for (int group = 1; group <= ChannelGroups; ++group) {
        n = { 0, static_cast<std::uint8_t>(group) };
        PutDigits(n, 2, m_channels[group - 1], 6);
        frames.append(Frame(ChannelsCode, n));
    }
    n = {};
    PutDigits(n, 2, m_version, 6);
    frames.append(Frame(VersionCode, n));
    return frames;
}

int SimParameterSet::serviceDigit(int position) const
{
    return ServiceWordBits(m_serviceWord, position);
}

bool SimParameterSet::bandBlocked(Band band) const
{
    const int bits = serviceDigit(2);
    switch (band) {
    case Band::Dmv:
        return bits & 0x1;
    case Band::Mv:
        return bits & 0x2;
    case Band::Gmv:
        return bits & 0x4;
    }
    return false;
}

int SimParameterSet::upperThreshold(Band band) const
{
    return StationFrames::DecimalValue(
        QStringView(m_groups[UpperThresholds]).mid(BandOffset(band), 2));
}

int SimParameterSet::lowerThreshold(Band band) const
{
    return StationFrames::DecimalValue(
        QStringView(m_groups[LowerThresholds]).mid(BandOffset(band), 2));
}

int SimParameterSet::mvAttenuation() const
{
    return StationFrames::DecimalValue(QStringView(m_groups[Sensitivity]).mid(2, 2));
}

int SimParameterSet::gmvAttenuation() const
{
    return StationFrames::DecimalValue(QStringView(m_groups[Sensitivity]).mid(4, 2));
}
