#pragma once

#include "reports/reportlayout.h"
#include "reports/reportprepare.h"

#include <QDateTime>
#include <QString>

#include <functional>

class Clock;

// The print stamp that every printed report shows in its page header:
// "Распечатано dd/mm/yy в hh:nn" with the system's date and time separators.

inline constexpr char PrintStampValueName[] = "stamp";
inline constexpr qreal PageHeaderHeightMm = 10.6;

QString PrintStampText(const QDateTime &when);

// The stamp item at its place in a band; its text is set per page by the hook below.
ReportItem PrintStampItem(qreal xMm, qreal yMm);

// The page header band of the result reports: "Страница:" with the page number
// centred at y 2, the print stamp at stampXMm, y 2.
ReportBand StampedPageHeader(qreal stampXMm);

// A start-of-page hook that stamps each page with the clock's time as the page is
// prepared.
std::function<void(int pageNumber, ReportValues &page)> StampEveryPage(Clock &clock);
