#include "legacyfixtures.h"

#include "legacy/legacycodepages.h"
#include "legacy/paradoxtable.h"

#include <QTemporaryDir>
#include <QTest>

// Reading the earlier program's Paradox files: values of every field type in both
// code pages, and clear refusals of damaged files.
class TestParadoxTable : public QObject
{
    Q_OBJECT

private slots:
    void readsEveryFieldType_data();
    void readsEveryFieldType();
    void refusesDamagedFiles_data();
    void refusesDamagedFiles();
    void refusesWhatTheLibraryFailsToOpen_data();
    void refusesWhatTheLibraryFailsToOpen();

private:
    QTemporaryDir m_dir;
};

void TestParadoxTable::readsEveryFieldType_data()
{
    QTest::addColumn<const TableSchema *>("schema");
    QTest::addColumn<int>("codePage");
    for (const TableSchema *schema : FourTables()) {
        for (const int codePage : { 866, 1251 }) {
            QTest::addRow("%s cp%d", qPrintable(schema->tableName), codePage) << schema << codePage;
        }
    }
}

void TestParadoxTable::readsEveryFieldType()
{
    QFETCH(const TableSchema *, schema);
    QFETCH(int, codePage);
    const QByteArray path = QFile::encodeName(m_dir.filePath(QStringLiteral("t.db")));
    QVERIFY(WriteParadoxTable(
        path, ParadoxLayout(*schema), SampleRows(*schema), codePage, schema->primaryKey.size()));

    ParadoxTable table;
    QVERIFY2(table.open(path, QStringLiteral("t.db")), qPrintable(table.errorText()));
    QCOMPARE(table.headerCodePage(), codePage);
    table.setTextCodePage(codePage);
    const QList<QVariantList> expected = SampleRows(*schema);
    QCOMPARE(table.recordCount(), expected.size());
    QCOMPARE(table.fields().size(), schema->fields.size());
    for (int i = 0; i < expected.size(); ++i) {
        QVariantList values;
        QVERIFY2(table.readRecord(i, &values), qPrintable(table.errorText()));
        for (int f = 0; f < values.size(); ++f) {
            const QVariant &want = expected.at(i).at(f);
            const QVariant &got = values.at(f);
            QVERIFY2(want.isNull() ? got.isNull() : got.toString() == want.toString(),
                qPrintable(QStringLiteral("record %1 field %2: %3 instead of %4")
                               .arg(i)
                               .arg(schema->fields.at(f).name, got.toString(), want.toString())));
        }
    }
}

void TestParadoxTable::refusesDamagedFiles_data()
{
    QTest::addColumn<int>("keepBytes"); // -1: keep all
    QTest::addColumn<QByteArray>("overwrite"); // put at offset 0
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << 0 << QByteArray() << QStringLiteral("позиции 0");
    QTest::newRow("header cut") << 100 << QByteArray() << QStringLiteral("позиции 100");
    QTest::newRow("data block cut") << 2048 + 600 << QByteArray()
                                    << QStringLiteral("позиции 2648");
    QTest::newRow("last block cut") << -2 << QByteArray() << QStringLiteral("обрезан");
    QTest::newRow("record length lies") << -1 << QByteArray("\x05\x00", 2)
                                        << QStringLiteral("t.db");
    QTest::newRow("not a table") << -1 << QByteArray("SQLite format 3\0", 16)
                                 << QStringLiteral("t.db");
}

void TestParadoxTable::refusesDamagedFiles()
{
    QFETCH(int, keepBytes);
    QFETCH(QByteArray, overwrite);
    QFETCH(QString, expected);
    const QString name = m_dir.filePath(QStringLiteral("t.db"));
    const QByteArray path = QFile::encodeName(name);
    QList<QVariantList> rows;
    for (int i = 0; i < 300; ++i) {
        rows.append(SampleRows(Test23Schema()).at(i % 2));
    }
    QVERIFY(WriteParadoxTable(path, ParadoxLayout(Test23Schema()), rows, 866));
    QFile file(name);
    QVERIFY(file.open(QIODevice::ReadWrite));
    if (keepBytes != -1) {
        QVERIFY(file.resize(keepBytes >= 0 ? keepBytes : file.size() + keepBytes));
    }
    QVERIFY(file.seek(0));
    file.write(overwrite);
    file.close();

    ParadoxTable table;
    QVERIFY(!table.open(path, QStringLiteral("t.db")));
    QVERIFY2(table.errorText().contains(QStringLiteral("t.db"))
            && table.errorText().contains(expected),
        qPrintable(table.errorText()));
}

// Files that pass the checks of the header but that pxlib fails to open, or would
// never finish opening; found by fuzzing. pxlib then frees parts of its document
// twice or forgets them (the sanitizer build catches either), or follows its chain of
// blocks round for good.
void TestParadoxTable::refusesWhatTheLibraryFailsToOpen_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("frees twice") << QStringLiteral("library_frees_twice");
    QTest::newRow("forgets blocks") << QStringLiteral("library_forgets_blocks");
    QTest::newRow("blocks in a ring") << QStringLiteral("library_follows_a_ring");
}

void TestParadoxTable::refusesWhatTheLibraryFailsToOpen()
{
    QFETCH(QString, file);
    QFile found(QStringLiteral(TELV2_PARADOX_CORPUS "/") + file);
    QVERIFY(found.open(QIODevice::ReadOnly));
    const QByteArray content = found.readAll();

    ParadoxTable table;
    QVERIFY(!table.openContent(content, QStringLiteral("t.db")));
    QVERIFY2(table.errorText().contains(QStringLiteral("t.db")), qPrintable(table.errorText()));

    // The same reader opens a sound table afterwards.
    const QByteArray path = QFile::encodeName(m_dir.filePath(QStringLiteral("sound.db")));
    QVERIFY(WriteParadoxTable(path, ParadoxLayout(RvSchema()), SampleRows(RvSchema()), 866));
    QVERIFY2(table.open(path, QStringLiteral("sound.db")), qPrintable(table.errorText()));
    QVariantList values;
    QVERIFY(table.readRecord(table.recordCount() - 1, &values));
}

QTEST_GUILESS_MAIN(TestParadoxTable)
#include "tst_paradoxtable.moc"
