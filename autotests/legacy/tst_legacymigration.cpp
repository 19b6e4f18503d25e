#include "legacyfixtures.h"

#include "legacy/legacymigration.h"
#include "tabletexts.h"

#include <QTemporaryDir>
#include <QTest>

// The old tables found in the tables directory at start-up: asked about, and on yes
// moved unchanged into a dated subfolder and brought into new tables.
class TestLegacyMigration : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void matchesTableNames_data();
    void matchesTableNames();
    void startUpAsks_data();
    void startUpAsks();
    void neverOverwritesAnEarlierSubfolder();

private:
    std::unique_ptr<QTemporaryDir> m_tables;
};

const QDate Today(2026, 12, 10);

void TestLegacyMigration::init()
{
    m_tables = std::make_unique<QTemporaryDir>();
}

void TestLegacyMigration::matchesTableNames_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("table"); // empty: none
    QTest::newRow("exact") << QByteArray("tests1.DB") << QStringLiteral("tests1");
    QTest::newRow("other case") << QByteArray("TEST23.db") << QStringLiteral("Test23");
    QTest::newRow("blocknum lower") << QByteArray("blocknum.db") << QStringLiteral("BlockNum");
    QTest::newRow("РВ utf-8") << QByteArray("РВ.db") << QStringLiteral("РВ");
    QTest::newRow("рв lower") << QByteArray("рв.DB") << QStringLiteral("РВ");
    QTest::newRow("РВ cp1251") << QByteArray("\xD0\xC2.db") << QStringLiteral("РВ");
    QTest::newRow("РВ cp866") << QByteArray("\x90\x82.DB") << QStringLiteral("РВ");
    QTest::newRow("РВ cp1251 via Latin-1") << QByteArray("\xC3\x90\xC3\x82.db")
                                           << QStringLiteral("РВ");
    QTest::newRow("index file") << QByteArray("tests1.PX") << QString();
    QTest::newRow("other table") << QByteArray("tests2.DB") << QString();
    QTest::newRow("Latin PB") << QByteArray("PB.db") << QString();
}

void TestLegacyMigration::matchesTableNames()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, table);
    const TableSchema *schema = LegacyTableOfName(name);
    QCOMPARE(schema ? schema->tableName : QString(), table);
}

void TestLegacyMigration::startUpAsks_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestLegacyMigration::startUpAsks()
{
    QFETCH(bool, yes);
    const QString dir = m_tables->path();
    // РВ.db as a Windows copy names it, with its index and a file of the program's own.
    const QByteArray rvName("\xD0\xC2.db");
    QVERIFY(WriteSampleTables(dir, 1251, { { &RvSchema(), rvName } }));
    for (const QString &name : { QStringLiteral("tests1.PX"), QStringLiteral("Options.dat") }) {
        QFile file(m_tables->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("bytes of " + name.toUtf8());
    }
    const QByteArray rvIndexPath = QFile::encodeName(dir) + "/\xD0\xC2.PX";
    {
        FILE *index = std::fopen(rvIndexPath.constData(), "wb");
        QVERIFY(index != nullptr);
        std::fputs("index", index);
        std::fclose(index);
    }
    const QMap<QByteArray, QByteArray> before = FileDigests(dir);
    QCOMPARE(before.size(), 7);

    RecordingImportView view;
    view.confirmAnswer = yes;
    QCOMPARE(OfferLegacyConversion(DatabaseLocation { dir, {} }, Today, view), yes);
    QCOMPARE(view.questions, QStringList { LegacyConversionQuestion(dir) });
    QVERIFY(view.questions.at(0).contains(QStringLiteral("формат Paradox")));

    const QString subfolder = m_tables->filePath(QStringLiteral("paradox-2026-12-10"));
    if (!yes) {
        QCOMPARE(FileDigests(dir), before);
        QVERIFY(!QFileInfo::exists(subfolder));
        QVERIFY(view.summaries.isEmpty());
        RecordingImportView nextStart;
        nextStart.confirmAnswer = false;
        OfferLegacyConversion(DatabaseLocation { dir, {} }, Today, nextStart);
        QCOMPARE(nextStart.questions.size(), 1);
        return;
    }
    QVERIFY2(view.succeeded, qPrintable(view.summaries.join(u'\n')));
    QMap<QByteArray, QByteArray> moved = before;
    moved.remove("Options.dat");
    QCOMPARE(FileDigests(subfolder), moved);
    QVERIFY(view.summaries.at(0).contains(QStringLiteral("paradox-2026-12-10")));
    QVERIFY(view.summaries.at(0).contains(QStringLiteral("BlockNum.DB: записей в файле 2, добавлено 2")));
    for (const TableSchema *schema : FourTables()) {
        QCOMPARE(TableTexts(dir, *schema), SampleTexts(*schema));
    }
    QVERIFY(FileDigests(dir).contains("Options.dat"));

    RecordingImportView nextStart;
    QVERIFY(!OfferLegacyConversion(DatabaseLocation { dir, {} }, Today, nextStart));
    QVERIFY(nextStart.questions.isEmpty());
}

void TestLegacyMigration::neverOverwritesAnEarlierSubfolder()
{
    const QString dir = m_tables->path();
    QVERIFY(QDir(dir).mkdir(QStringLiteral("paradox-2026-12-10")));
    const QString earlier = m_tables->filePath(QStringLiteral("paradox-2026-12-10/tests1.DB"));
    {
        QFile file(earlier);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("earlier");
    }
    QVERIFY(WriteParadoxTable(QFile::encodeName(m_tables->filePath(QStringLiteral("tests1.DB"))),
        ParadoxLayout(Tests1Schema()), SampleRows(Tests1Schema()), 866));

    RecordingImportView view;
    QVERIFY(OfferLegacyConversion(DatabaseLocation { dir, {} }, Today, view));
    QVERIFY2(view.succeeded, qPrintable(view.summaries.join(u'\n')));
    QCOMPARE(FileDigests(QFileInfo(earlier).path()).size(), 1);
    QVERIFY(QFileInfo::exists(m_tables->filePath(QStringLiteral("paradox-2026-12-10-2/tests1.DB"))));
    QVERIFY(view.summaries.at(0).contains(QStringLiteral("paradox-2026-12-10-2")));
    QCOMPARE(TableTexts(dir, Tests1Schema()), SampleTexts(Tests1Schema()));
}

QTEST_GUILESS_MAIN(TestLegacyMigration)
#include "tst_legacymigration.moc"
