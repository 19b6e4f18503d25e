#pragma once

#include <QString>

class QChartView;
class QPagedPaintDevice;

// Saves the chart the view shows: as a PDF page (A4 landscape) when the path ends in
// ".pdf", otherwise as a PNG picture of ChartImageSize. False with a Russian text
// when the file cannot be written; a file already there is replaced only by a
// complete one.
bool SaveChart(QChartView &view, const QString &path, QString *error);

// Paints the chart onto one page of the device (a printer or a PDF), scaled to the
// page keeping its proportions.
void PaintChartPage(QChartView &view, QPagedPaintDevice &device);

inline constexpr int ChartImageWidth = 1600;
inline constexpr int ChartImageHeight = 1000;
// The size in pixels a chart is laid out at for a file or a page, then scaled.
inline constexpr int ChartLayoutWidth = 1000;
inline constexpr int ChartLayoutHeight = 625;
