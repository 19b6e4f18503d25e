#include "records/databasetable.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

// What a second connection sees in the file: "name TYPE pk" per column, the
// indexes, the objects, the journal mode.
struct FileLayout
{
    QStringList columns;
    QStringList objects; // type:name of every schema object
    QString tableSql;
    QString journalMode;
};

FileLayout layoutOf(const QString &path, const QString &table)
{
    FileLayout layout;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "inspect");
        db.setDatabaseName(path);
        if (!db.open()) {
            return layout;
        }
        QSqlQuery q(db);
        q.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table));
        while (q.next()) {
            QString column = q.value(1).toString() + u' ' + q.value(2).toString();
            if (q.value(3).toInt()) {
                column += QStringLiteral(" NOT NULL");
            }
            if (q.value(5).toInt()) {
                column += QStringLiteral(" key%1").arg(q.value(5).toInt());
            }
            layout.columns.append(column);
        }
        q.exec(QStringLiteral("SELECT type, name, sql FROM sqlite_master ORDER BY name"));
        while (q.next()) {
            layout.objects.append(q.value(0).toString() + u':' + q.value(1).toString());
            if (q.value(0).toString() == QLatin1String("table")) {
                layout.tableSql = q.value(2).toString();
            }
        }
        q.exec(QStringLiteral("PRAGMA journal_mode"));
        q.next();
        layout.journalMode = q.value(0).toString();
    }
    QSqlDatabase::removeDatabase("inspect");
    return layout;
}

QStringList texts(const QString &names)
{
    QStringList columns;
    for (const QString &name : names.split(u' ')) {
        columns.append(name + QStringLiteral(" TEXT"));
    }
    return columns;
}

} // namespace

class TestTableSchema : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void createdTablesHaveExactlyTheirLayout_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("tableName");
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<QStringList>("objects");

        QTest::newRow("tests1")
            << 0 << "tests1.DB"
            << "tests1"
            << texts("Date Time Event Mehanik ResultWord ResultCod ToolWord PrmMv1 PrdMv1 PrmMv2 "
                     "PrdMv2 PrmMv3 PrdMv3 DeviacD DeviacM DeviacG Deviacd2 DeviacM2 DeviacG2 "
                     "Osl_mw osl_gmw reserv")
            << QStringList { "table:tests1" };
        QTest::newRow("Test23")
            << 1 << "Test23.DB"
            << "Test23"
            << texts("Date Time Event Direction Mehanik Train Loko ResultWord ResultCod DeviacD "
                     "DeviacM DeviacG Sens_mw_itog Sens_mw_osl Sens_gmw_itog Sens_gmw_osl MesD "
                     "MesG MesM")
            << QStringList { "table:Test23" };
        QTest::newRow("РВ") << 2 << "РВ.db"
                            << "РВ"
                            << QStringList { "Lokomotiv TEXT NOT NULL key1", "OslablenieM INTEGER",
                                   "OslablenieG INTEGER" }
                            << QStringList { "index:sqlite_autoindex_РВ_1", "table:РВ" };
        QTest::newRow("BlockNum") << 3 << "BlockNum.DB"
                                  << "BlockNum"
                                  << QStringList { "Loko TEXT NOT NULL key1", "Block1 TEXT key2",
                                         "Block2 TEXT key3", "Block3 TEXT key4", "Block4 TEXT key5",
                                         "Block5 TEXT key6", "Block6 TEXT key7", "Block7 TEXT key8",
                                         "Block8 TEXT key9", "d TEXT", "t TEXT", "Kind INTEGER",
                                         "LastD TEXT", "LastT TEXT" }
                                  << QStringList { "table:BlockNum",
                                         "index:sqlite_autoindex_BlockNum_1" };
    }

    void createdTablesHaveExactlyTheirLayout()
    {
        QFETCH(int, which);
        QFETCH(QString, fileName);
        QFETCH(QString, tableName);
        QFETCH(QStringList, columns);
        QFETCH(QStringList, objects);
        const TableSchema *schemas[]
            = { &Tests1Schema(), &Test23Schema(), &RvSchema(), &BlockNumSchema() };
        QTemporaryDir dir;
        {
            DatabaseTable table(dir.path(), *schemas[which]);
            QVERIFY2(
                table.open(DatabaseTable::OpenMode::OpenOrCreate), qPrintable(table.errorText()));
            QCOMPARE(table.filePath(), dir.filePath(fileName));
        }
        const FileLayout layout = layoutOf(dir.filePath(fileName), tableName);
        QCOMPARE(layout.columns, columns);
        QStringList sortedObjects = objects;
        sortedObjects.sort();
        QStringList actualObjects = layout.objects;
        actualObjects.sort();
        QCOMPARE(actualObjects, sortedObjects);
        QCOMPARE(layout.journalMode, QStringLiteral("wal"));
    }

    void factoryNumbersKeyCarriesItsName()
    {
        QTemporaryDir dir;
        {
            DatabaseTable table(dir.path(), BlockNumSchema());
            QVERIFY(table.open(DatabaseTable::OpenMode::OpenOrCreate));
        }
        const FileLayout layout = layoutOf(dir.filePath("BlockNum.DB"), "BlockNum");
        QVERIFY2(
            layout.tableSql.contains(QStringLiteral("CONSTRAINT \"Table1Index1\" PRIMARY KEY")),
            qPrintable(layout.tableSql));
    }
};

QTEST_GUILESS_MAIN(TestTableSchema)
#include "tst_tableschema.moc"
