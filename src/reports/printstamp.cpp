#include "reports/printstamp.h"

#include "shared/clock.h"
#include "shared/dateformats.h"

QString PrintStampText(const QDateTime &when)
{
    return QStringLiteral("Распечатано ")
        + when.toString(WithSystemSeparators(QStringLiteral("dd/MM/yy"))) + QStringLiteral(" в ")
        + when.toString(WithSystemSeparators(QStringLiteral("hh:mm")));
}

ReportItem PrintStampItem(qreal xMm, qreal yMm)
{
    return ReportItem::value(xMm, yMm, QLatin1StringView(PrintStampValueName));
}

ReportBand StampedPageHeader(qreal stampXMm)
{
    ReportBand band;
    band.heightMm = PageHeaderHeightMm;
    band.items
        = { ReportItem::pageNumber(2, QStringLiteral("Страница:")), PrintStampItem(stampXMm, 2) };
    return band;
}

std::function<void(int, ReportValues &)> StampEveryPage(Clock &clock)
{
    return [&clock](int, ReportValues &page) {
        page.texts.insert(QLatin1StringView(PrintStampValueName), PrintStampText(clock.now()));
    };
}
