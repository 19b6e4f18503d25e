#include "link/ranges.h"

QString RangeName(int index)
{
    static const char16_t *const names[RangeCount]
        = { u"ДМВ", u"ГМВ1", u"ГМВ2", u"МВ1", u"МВ2", u"МВ3", u"МВ4" };
    if (index < 0 || index >= RangeCount) {
        return {};
    }
    return QString::fromUtf16(names[index]);
}
