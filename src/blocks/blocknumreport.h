#pragma once

#include "reports/reportlayout.h"

#include <QDateTime>
#include <QString>

// The printed list of factory numbers: A4 landscape, the header line on every
// page, the column headings on the first, one line per row (Loko, d, t and the
// eight block numbers).
namespace TfBlockNumRep {

// "Сведения о заводских номерах. Распечатано " and the date and time.
QString headerLine(const QDateTime &printedAt);
ReportLayout layout(const QString &headerLine);

} // namespace TfBlockNumRep
