#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

struct TableSchema;

// One table file of the earlier program, matched to the table of ours it holds.
// Paths are bytes as the file system has them: a name written on another system
// in code page 866 or 1251 is not valid in the local encoding, and a QString
// could not name it again.
struct LegacyTableFile
{
    const TableSchema *schema = nullptr;
    QByteArray path;
    QString displayName; // the path as messages show it
};

// The table of ours the file name stands for, letter case aside; nullptr for none.
// РВ.db also matches when its Cyrillic name was written in code page 866 or 1251,
// or such bytes were later taken for Latin-1 and written again in UTF-8.
const TableSchema *LegacyTableOfName(const QByteArray &fileName);

// The earlier program's table files in folder, one per table at most, in the order
// tests1, Test23, РВ, BlockNum.
QList<LegacyTableFile> FindLegacyTableFiles(const QString &folder);

// The chosen files matched to tables; the names that match none go to unmatched.
QList<LegacyTableFile> MatchLegacyTableFiles(const QList<QByteArray> &paths, QStringList *unmatched);

// The file begins as a Paradox data table does (a damaged one included).
bool IsParadoxTableFile(const QByteArray &path);

// The table files in the tables directory that are Paradox tables: the earlier
// program's, left where this program now keeps its own.
QList<LegacyTableFile> FindParadoxTables(const QString &tablesDirectory);

// Moves each table file and its companions (the same name with the index, memo,
// validity and other extensions of the format) into a new subfolder
// "paradox-YYYY-MM-DD" of the tables directory, "-2", "-3" ... added when that
// name is taken. A move is a rename: names and bytes stay as they were, nothing is
// ever overwritten or deleted. On a failure the files already moved are moved back.
// tables then name the files in their new place; subfolder is the new folder.
bool MoveLegacyTables(const QString &tablesDirectory, const QDate &day,
    QList<LegacyTableFile> *tables, QString *subfolder, QString *error);
