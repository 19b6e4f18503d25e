#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The field types of the program's tables and how they are stored in SQLite:
// dates as 'YYYY-MM-DD' text, times of day as 'HH:MM:SS.zzz' text, texts as TEXT
// cut to their width, short integers as INTEGER within the signed 16-bit range.
enum class FieldType { Date, Time, Text, ShortInteger };

struct FieldDef
{
    QString name;
    FieldType type = FieldType::Text;
    int width = 0; // characters, text fields only
    bool required = false;
};

// One table in its own database file: the file name, the table's name, its fields
// in order and its primary key (empty: none, rows stay in the order of appending).
struct TableSchema
{
    QString fileName;
    QString tableName;
    QList<FieldDef> fields;
    QStringList primaryKey;
    QString keyName; // name of the key constraint, when it has one

    int fieldIndex(const QString &name) const;
};

// Station self-tests and parameter sets sent.
const TableSchema &Tests1Schema();
// Radio tests 2 and 3.
const TableSchema &Test23Schema();
// Register of locomotive radio stations: attenuation corrections per locomotive.
const TableSchema &RvSchema();
// Factory numbers of the blocks of each locomotive radio station.
const TableSchema &BlockNumSchema();
// When the tables are on a server: the PC's own copy of РВ, which answers the
// station's attenuation requests without waiting for the network.
const TableSchema &RvCopySchema();
// When the tables are on a server: the results that could not reach it yet, in
// order, each with its receipt and its row as stored (a JSON array).
const TableSchema &OutboxSchema();

// SQLite's declared column type of a field type.
QString SqlColumnType(FieldType type);

// The CREATE TABLE statement that makes the table exactly as defined.
QString CreateTableStatement(const TableSchema &schema);

// On a PostgreSQL server: the column type of a field as the server names it (date,
// time with milliseconds, varchar of the field's width, smallint), the hidden
// identity column that follows the fields, and the CREATE TABLE statement, with
// the identity as the key of a table that has no key of its own.
QString ServerColumnType(const FieldDef &field);
QString ServerRowIdColumn();
QString CreateServerTableStatement(const TableSchema &schema);

// An identifier in double quotes, inner quotes doubled.
QString QuotedIdentifier(const QString &name);
