#pragma once

#include "records/databasetable.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace MillionRows {

constexpr int Rows = 1000000;
constexpr int RowsPerDay = 1000;
constexpr int Locomotives = 5000;

// Test23.DB with a million rows over 1000 days from 2024-01-01, 30 s apart, the
// locomotive of row i being i mod 5000; a third of the rows are "Тест 3", and every
// fifth row is a "Брак" with one of four kinds of codes. Made once per process in
// one transaction; empty when it could not be made.
inline const QString &Table()
{
    static QTemporaryDir dir;
    static const bool filled = [] {
        {
            DatabaseTable table(dir.path(), Test23Schema());
            if (!table.open(DatabaseTable::OpenMode::OpenOrCreate)) {
                return false;
            }
        }
        bool ok = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "fill");
            db.setDatabaseName(dir.filePath(Test23Schema().fileName));
            QSqlQuery q(db);
            ok = db.open() && q.exec("BEGIN")
                && q.exec(QStringLiteral(
                    "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n "
                    "WHERE i + 1 < %1) "
                    "INSERT INTO Test23 SELECT date('2024-01-01', '+' || (i / %2) || ' days'), "
                    "time('08:00', '+' || (i % %2) * 30 || ' seconds') || '.000', "
                    "CASE WHEN i % 3 = 0 THEN 'Тест 3' ELSE 'Тест 2' END, "
                    "'От ТЕЛВ', '9316', '1234', printf('%07d', i % %3), "
                    "CASE WHEN i % 5 = 0 THEN 'Брак' ELSE 'Норма' END, "
                    "CASE i % 20 WHEN 0 THEN '1000000' WHEN 5 THEN '0100100' "
                    "WHEN 10 THEN '0000010' WHEN 15 THEN '?' ELSE '0000000' END, "
                    "'10', '11', '12', 'Норма:4', '05', '0', '00', '11111', '00000', '10101' "
                    "FROM n")
                              .arg(Rows)
                              .arg(RowsPerDay)
                              .arg(Locomotives))
                && q.exec("COMMIT");
        }
        QSqlDatabase::removeDatabase("fill");
        return ok;
    }();
    static const QString path = filled ? dir.path() : QString();
    return path;
}

} // namespace MillionRows
