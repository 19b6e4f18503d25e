#pragma once

#include "records/browsercolumns.h"
#include "shared/resulttext.h"
#include "stats/exportwriters.h"

#include <QString>

#include <functional>

class BrowserReportRows;

// Which rows of a result browser go into a file: every row of the table, the rows
// that pass the browser's criteria, or the selected ones among those.
enum class ExportScope { All, Filtered, Selected };

// The label of the column of decoded results that follows the browser's columns.
inline const QString CommentsLabel = QStringLiteral("Комментарии");

// Writes the rows to the file: the browser's columns in grid order under their
// titles, then the decoded result of the row, its lines joined by "; ". Dates and
// times go as dates and times, short integers as numbers. progress(rows written)
// is asked now and then; false from it cancels, leaving no file and no error.
// Returns false with error on a failure or a cancel (error empty then).
bool ExportBrowserRows(BrowserReportRows &rows, const BrowserDisplay &display,
    const std::function<ResultLines(const StoredFieldText &)> &decode, ExportWriter &writer,
    const QString &path, const std::function<bool(qint64)> &progress, QString *error);

// The decoded lines of a result as one cell's text.
QString JoinedResultLines(const ResultLines &lines);
