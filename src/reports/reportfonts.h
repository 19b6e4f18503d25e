#pragma once

#include "reports/reportlayout.h"

#include <QFont>

// The font a report item prints with. Reports name the common office families
// (Arial and its kin); where such a family is not installed the metric-compatible
// Liberation family stands in for it, so that texts keep their widths and the
// positions of a layout hold.
QFont ReportQFont(const ReportFont &font);
