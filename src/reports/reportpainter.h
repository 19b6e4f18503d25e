#pragma once

class PreparedReport;
class QPagedPaintDevice;
class QPainter;
class QString;

// Paints page pageIndex (from 0) of the report. The painter's origin must be the top
// left corner of the page inside its margins, as it is on a QPrinter or QPdfWriter set
// up with the report's page layout; millimetres are converted with the resolution of
// the painter's device.
void PaintReportPage(QPainter &painter, const PreparedReport &report, int pageIndex);

// Paints every page of the report onto the device as it is set up (for example the
// printer of a preview, whose page the operator may have changed). On failure returns
// false and sets error.
bool PaintReport(const PreparedReport &report, QPagedPaintDevice &device, QString *error);

// Writes the report to a PDF file. An existing file is replaced only when the whole
// report has been written.
bool WriteReportPdf(const PreparedReport &report, const QString &path, QString *error);
