#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>

// Writes a table of values to a spreadsheet file: a row of column labels, then the
// rows. A value is a text, a QDate, a QTime, a number, or null for an empty cell.
// The file appears under its name only when finish() succeeds; until then, after
// any failure, and when the writer is destroyed unfinished, a file already there
// keeps its contents and nothing else is left behind.
class ExportWriter
{
public:
    virtual ~ExportWriter() = default;

    virtual bool begin(const QString &path, const QStringList &labels) = 0;
    virtual bool writeRow(const QVariantList &values) = 0;
    virtual bool finish() = 0;

    // A Russian text of the last failure.
    virtual QString errorText() const = 0;
};

enum class ExportFormat { Csv, Xlsx };

// CSV: UTF-8 with a byte order mark, ";" between fields, CR LF between rows, fields
// with ";", quotes or line breaks in quotes; dates as dd.MM.yyyy, times as hh:mm:ss.
// XLSX: one sheet, labels in bold, dates and times as date and time cells.
std::unique_ptr<ExportWriter> MakeExportWriter(ExportFormat format);

// The rows one sheet of a workbook holds below its row of labels.
inline constexpr qint64 XlsxMaxRows = 1048575;
