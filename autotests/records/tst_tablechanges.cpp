#include "records/databasetable.h"

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
        QVERIFY2(
            m_table->errorText().startsWith("Нарушение ключа"), qPrintable(m_table->errorText()));
        QVERIFY(m_table->errorText().contains("UNIQUE")); // the engine's own text follows
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
