#pragma once

#include <QList>
#include <QStringList>

struct TableSchema;

// The rows of a table file in directory as texts, one list of field values per row
// in the order they were appended; none (with a warning) when the file cannot be
// read.
QList<QStringList> TableTexts(const QString &directory, const TableSchema &schema);

// Runs the statements on a table file as another SQLite client would, in one
// connection; false (with a warning) at the first that fails.
bool ExecOnTableFile(const QString &path, const QStringList &statements);

// Leaves in directory a file of the table that the engine cannot use: "damaged" (the
// table made, then its first page overwritten behind the header) or "unopenable" (a
// link into a directory that does not exist). False when that failed.
bool SpoilTable(const QString &directory, const TableSchema &schema, const QString &how);
