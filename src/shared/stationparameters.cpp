#include "shared/stationparameters.h"

#include "shared/codecs.h"

#include <QtGlobal>

namespace {

template<typename Params> auto &channel(Params &params, int group, bool receive)
{
    Q_ASSERT(group >= 1 && group <= StationParameters::ChannelGroups);
    switch (group) {
    case 1:
        return receive ? params.PrmMv1 : params.PrdMv1;
    case 2:
        return receive ? params.PrmMv2 : params.PrdMv2;
    case 3:
        return receive ? params.PrmMv3 : params.PrdMv3;
    default:
        return receive ? params.PrmMv4 : params.PrdMv4;
    }
}

} // namespace

QString &StationParameters::PrmMv(int group)
{
    return channel(*this, group, true);
}

QString &StationParameters::PrdMv(int group)
{
    return channel(*this, group, false);
}

const QString &StationParameters::PrmMv(int group) const
{
    return channel(*this, group, true);
}

const QString &StationParameters::PrdMv(int group) const
{
    return channel(*this, group, false);
}

int ServiceWordBits(QStringView word, int position)
{
    if (position < 1 || position > word.size()) {
        return 0;
    }
    return HexDigitValue(word[position - 1]);
}

int StationParameters::ToolWordBits(int position) const
{
    return ServiceWordBits(ToolWord, position);
}

int StationParameters::ToolWordDigit(int position) const
{
    if (position < 1 || position > ToolWord.size()) {
        return -1;
    }
    const QChar c = ToolWord.at(position - 1);
    return c.isDigit() && c.unicode() < 0x80 ? c.unicode() - u'0' : -1;
}
