#pragma once

#include <QList>
#include <QStringList>

struct TableSchema;

// The rows of a table file in directory as texts, one list of field values per row
// in the order they were appended; none (with a warning) when the file cannot be
// read.
QList<QStringList> TableTexts(const QString &directory, const TableSchema &schema);
