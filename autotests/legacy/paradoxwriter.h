#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariantList>

#include <functional>

struct TableSchema;

// Paradox tables written with pxlib, as the earlier program left them.

enum class ParadoxType { Text, Date, Time, Short };

struct ParadoxFieldSpec
{
    QByteArray name;
    ParadoxType type = ParadoxType::Text;
    int width = 0; // characters of a text
};

// The layout the earlier program gave the table: our fields, with their widths.
QList<ParadoxFieldSpec> ParadoxLayout(const TableSchema &schema);

// Writes the table to path. Row values: a QString (written in codePage), a QDate,
// a QTime, an int, or a null QVariant for an empty value. codePage 0 writes a
// header that names none. keyFields: how many leading fields form the primary key.
// False (with a warning) when pxlib refuses.
bool WriteParadoxTable(const QByteArray &path, const QList<ParadoxFieldSpec> &fields,
    const QList<QVariantList> &rows, int codePage, int keyFields = 0);

// The same with the rows made one at a time (a large table without holding it).
bool WriteParadoxTable(const QByteArray &path, const QList<ParadoxFieldSpec> &fields,
    int rowCount, const std::function<QVariantList(int)> &row, int codePage, int keyFields = 0);

// The text in the code page (866 or 1251), as the earlier program stored it.
QByteArray EncodeLegacyText(const QString &text, int codePage);
