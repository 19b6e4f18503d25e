#pragma once

#include "records/databasetable.h"

#include <QDate>
#include <QTime>
#include <QVariantList>

// Rows of the two result tables as the recorder writes them, for tests.
namespace ResultTables {

inline QVariantList RadioTestRow(const QDate &day, const QString &loko,
    const QString &event = QStringLiteral("Тест 2"),
    const QString &code = QStringLiteral("0000000"), const QTime &time = QTime(10, 15, 30, 250))
{
    return { day, time, event, QStringLiteral("От ТЕЛВ"), QStringLiteral("9316"),
        QStringLiteral("1234"), loko, QStringLiteral("Норма"), code, QStringLiteral("10"),
        QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("Норма:4"), QStringLiteral("05"),
        QStringLiteral("Брак:3"), QStringLiteral("06"), QStringLiteral("11111"),
        QStringLiteral("00000"), QStringLiteral("10101") };
}

inline QVariantList SelfTestRow(const QDate &day, const QString &mehanik,
    const QString &event = QStringLiteral("Тест 1"),
    const QString &code = QStringLiteral("0000000"), const QTime &time = QTime(9, 5, 7, 8))
{
    const bool record = event == QStringLiteral("Запись");
    return { day, time, event, mehanik,
        record ? QString()
               : (code == QStringLiteral("0000000") ? QStringLiteral("Норма")
                                                    : QStringLiteral("Брак")),
        record ? QString() : code, QStringLiteral("01111111"), QStringLiteral("101"),
        QStringLiteral("102"), QStringLiteral("203"), QStringLiteral("204"), QStringLiteral("305"),
        QStringLiteral("306"), QStringLiteral("40"), QStringLiteral("41"), QStringLiteral("42"),
        QStringLiteral("20"), QStringLiteral("21"), QStringLiteral("22"), QStringLiteral("05"),
        QStringLiteral("06"), QStringLiteral("A0") };
}

// Appends the rows to the table in the directory, creating it when missing.
inline bool Append(
    const QString &directory, const TableSchema &schema, const QList<QVariantList> &rows)
{
    DatabaseTable table(directory, schema);
    if (!table.open(DatabaseTable::OpenMode::OpenOrCreate)) {
        return false;
    }
    for (const QVariantList &row : rows) {
        if (!table.append(row)) {
            return false;
        }
    }
    return true;
}

} // namespace ResultTables

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

namespace ResultTables {

// Fills a new table with count rows in one transaction, bypassing the recorder's
// per-row durability: row(i) gives the stored values of row i in field order.
template<typename RowOf>
bool Fill(const QString &directory, const TableSchema &schema, int count, RowOf row)
{
    {
        DatabaseTable table(directory, schema);
        if (!table.open(DatabaseTable::OpenMode::OpenOrCreate)) {
            return false;
        }
    }
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "fill");
        db.setDatabaseName(directory + u'/' + schema.fileName);
        ok = db.open() && db.transaction();
        QSqlQuery insert(db);
        ok = ok
            && insert.prepare(QStringLiteral("INSERT INTO ") + QuotedIdentifier(schema.tableName)
                + QStringLiteral(" VALUES (")
                + QStringList(schema.fields.size(), QStringLiteral("?")).join(u',') + u')');
        for (int i = 0; ok && i < count; ++i) {
            for (const QVariant &value : row(i)) {
                insert.addBindValue(value);
            }
            ok = insert.exec();
        }
        ok = ok && db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase("fill");
    return ok;
}

} // namespace ResultTables
