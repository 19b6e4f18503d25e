#include "records/databasetable.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

QVariantList rv(const QString &loco, const QVariant &m, const QVariant &g)
{
    return { loco, m, g };
}

QStringList locos(DatabaseTable &table)
{
    QList<TableRow> rows;
    if (!table.readAll(&rows)) {
        return { table.errorText() };
    }
    QStringList list;
    for (const TableRow &row : std::as_const(rows)) {
        list.append(row.values.at(0).toString());
    }
    return list;
}

} // namespace

// Inserting, updating and reading back rows of a keyed table the way the registers do.
class TestTableChanges : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_dir.emplace();
        m_table.emplace(m_dir->path(), RvSchema());
        QVERIFY(m_table->open(DatabaseTable::OpenMode::OpenOrCreate));
    }
    void cleanup()
    {
        m_table.reset();
        m_dir.reset();
    }

    void rowsComeInKeyOrderWhateverTheOrderOfInsertion()
    {
        qint64 first = 0;
        qint64 second = 0;
        qint64 third = 0;
        QVERIFY(m_table->insert(rv("0000300", 1, 2), &first));
        QVERIFY(m_table->insert(rv("0000010", 3, 4), &second));
        QVERIFY(m_table->insert(rv("0000200", QVariant(), 5), &third));
        QVERIFY(first != second && second != third && first != third);
        QCOMPARE(locos(*m_table), (QStringList { "0000010", "0000200", "0000300" }));

        QList<TableRow> rows;
        QVERIFY(m_table->readAll(&rows));
        QCOMPARE(rows.at(0).rowid, second);
        QVERIFY(rows.at(1).values.at(1).isNull()); // an empty correction stays empty
    }

    void updateReplacesTheRowAndKeepsItsRowid()
    {
        qint64 rowid = 0;
        QVERIFY(m_table->insert(rv("0000001", 1, 2), &rowid));
        QVERIFY(m_table->update(rowid, rv("0000009", 7, -8)));
        QList<TableRow> rows;
        QVERIFY(m_table->readAll(&rows));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.at(0).rowid, rowid);
        QCOMPARE(rows.at(0).values, (QVariantList { "0000009", 7, -8 }));
        QVERIFY(!m_table->update(rowid + 100, rv("0000002", 0, 0)));
    }

    void keyViolationsAreRefusedAndChangeNothing_data()
    {
        QTest::addColumn<bool>("byUpdate");
        QTest::newRow("insert") << false;
        QTest::newRow("update") << true;
    }
    void keyViolationsAreRefusedAndChangeNothing()
    {
        QFETCH(bool, byUpdate);
        qint64 a = 0;
        qint64 b = 0;
        QVERIFY(m_table->insert(rv("0000001", 1, 1), &a));
        QVERIFY(m_table->insert(rv("0000002", 2, 2), &b));
        const bool written = byUpdate ? m_table->update(b, rv("0000001", 9, 9))
                                      : m_table->insert(rv("0000001", 9, 9), &b);
        QVERIFY(!written);
        // The engine's English names the key its own way; the register names it for
        // the operator.
        QCOMPARE(m_table->errorText(),
            "Запись не сохранена: в таблице РВ.db уже есть запись с таким ключом");
        QVERIFY(m_table->keyViolation());
        QList<TableRow> rows;
        QVERIFY(m_table->readAll(&rows));
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(0).values, (QVariantList { "0000001", 1, 1 }));
        QCOMPARE(rows.at(1).values, (QVariantList { "0000002", 2, 2 }));
    }

    void valuesOutsideTheFieldAreRefusedBeforeWriting()
    {
        qint64 rowid = 0;
        QVERIFY(!m_table->insert(rv("0000001", 40000, 0), &rowid));
        QVERIFY(!m_table->insert({ "0000001", 1 }, &rowid));
        QCOMPARE(locos(*m_table), QStringList());
    }

    void selectBindsValuesAndNeverReadsThemAsSql()
    {
        qint64 rowid = 0;
        QVERIFY(m_table->insert(rv("0000001", 12, 7), &rowid));
        QVERIFY(m_table->insert(rv("0000002", 3, 4), &rowid));
        const QString sql = QStringLiteral(
            "SELECT \"OslablenieM\" AS m, \"OslablenieG\" FROM \"РВ\" WHERE \"Lokomotiv\" = ?");
        QStringList columns;
        QList<QVariantList> rows;
        QVERIFY(m_table->select(sql, { "0000001" }, &columns, &rows));
        QCOMPARE(columns, (QStringList { "m", "OslablenieG" }));
        QCOMPARE(rows, (QList<QVariantList> { { 12, 7 } }));

        QVERIFY(m_table->select(sql, { "x' OR '1'='1" }, &columns, &rows));
        QVERIFY(rows.isEmpty());
        QVERIFY(
            !m_table->select(QStringLiteral("SELECT nothing FROM nowhere"), {}, &columns, &rows));
        QVERIFY(!m_table->errorText().isEmpty());
    }

    // Whatever the engine says comes after what was being done with which file.
    void engineFailuresNameTheTableAndTheWork_data()
    {
        QTest::addColumn<int>("work");
        QTest::addColumn<QString>("sentence");
        QTest::newRow("read") << 0 << "Ошибка при чтении таблицы РВ.db: ";
        QTest::newRow("count") << 1 << "Ошибка при подсчете строк таблицы РВ.db: ";
        QTest::newRow("write") << 2 << "Ошибка при записи в таблицу РВ.db: ";
        QTest::newRow("delete") << 3 << "Ошибка при удалении из таблицы РВ.db: ";
        QTest::newRow("select") << 4 << "Ошибка при выборке из таблицы РВ.db: ";
    }
    void engineFailuresNameTheTableAndTheWork()
    {
        QFETCH(int, work);
        QFETCH(QString, sentence);
        qint64 rowid = 0;
        QVERIFY(m_table->insert(rv("0000001", 1, 1), &rowid));
        {
            // Another program takes the table away under the open file.
            QSqlDatabase other
                = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(m_table->filePath());
            QVERIFY(other.open());
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("DROP TABLE \"РВ\"")));
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));

        QList<TableRow> rows;
        QStringList columns;
        QList<QVariantList> values;
        switch (work) {
        case 0:
            QVERIFY(!m_table->readAll(&rows));
            break;
        case 1:
            QCOMPARE(m_table->rowCount(), -1);
            break;
        case 2:
            QVERIFY(!m_table->insert(rv("0000002", 1, 1), &rowid));
            QVERIFY(!m_table->keyViolation());
            break;
        case 3:
            QVERIFY(!m_table->deleteRow(rowid));
            break;
        default:
            QVERIFY(!m_table->select(
                QStringLiteral("SELECT * FROM \"РВ\""), {}, &columns, &values));
            break;
        }
        QVERIFY2(m_table->errorText().startsWith(sentence), qPrintable(m_table->errorText()));
        QVERIFY2(m_table->errorText().size() > sentence.size(), "the engine's text follows");
    }

    void aClosedTableRefusesEverything()
    {
        QVERIFY(m_table->close());
        QVERIFY(m_table->close()); // closing twice is harmless
        qint64 rowid = 0;
        QList<TableRow> rows;
        QStringList columns;
        QList<QVariantList> values;
        QVERIFY(!m_table->insert(rv("0000001", 1, 1), &rowid));
        QVERIFY(!m_table->update(1, rv("0000001", 1, 1)));
        QVERIFY(!m_table->readAll(&rows));
        QVERIFY(!m_table->select(QStringLiteral("SELECT 1"), {}, &columns, &values));
    }

private:
    std::optional<QTemporaryDir> m_dir;
    std::optional<DatabaseTable> m_table;
};

QTEST_GUILESS_MAIN(TestTableChanges)
#include "tst_tablechanges.moc"
