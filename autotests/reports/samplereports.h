#pragma once

#include "reports/reportlayout.h"
#include "reports/reportprepare.h"

#include <QDateTime>
#include <QList>
#include <QStringList>

// Made-up station self-test results printed the way the result browser prints them:
// a compressed table on landscape pages and an expanded card per row on portrait
// pages with the decoded result lines.
namespace SampleReports {

QStringList SelfTestFields();

// Rows numbered from 1: row n has the date 01.mm.26 and the time hh:mm built from n,
// mechanic 100 + n; every third row failed with a result code, every seventh did not
// answer ("?").
QList<QStringList> SelfTestRows(int count);

ReportLayout SelfTestCompressed();
ReportLayout SelfTestExpanded();

// The print stamp of the page header and the result lines of the expanded card.
QString PrintStamp(const QDateTime &when);
ReportLines ResultLines(const QString &resultCode);
ReportHooks SelfTestHooks(const QDateTime &printedAt);

inline constexpr qreal PageHeaderMm = 10.6;
inline constexpr qreal TitleMm = 10.6;
inline constexpr qreal ColumnHeaderMm = 13.5;
inline constexpr qreal CompressedDetailMm = 11.1;
inline constexpr qreal ExpandedDetailMm = 68.5;

} // namespace SampleReports
