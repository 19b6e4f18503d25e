#include "legacyfixtures.h"

#include "legacy/legacymigration.h"
#include "records/databasetable.h"
#include "tabletexts.h"

#include <QTemporaryDir>
#include <QTest>

// Merging the old tables into ours: every row over, nothing twice, register keys
// kept, and a table that cannot come over entirely leaves its table as it was.
class TestLegacyImport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void importsFourTablesOnce_data();
    void importsFourTablesOnce();
    void mergesWithRowsAlreadyThere();
    void leavesOutWhatCannotComeOver_data();
    void leavesOutWhatCannotComeOver();
    void asksForMissingCodePage_data();
    void asksForMissingCodePage();
    void cancelLeavesTablesAsTheyWere();

private:
    LegacyImportResult import(RecordingImportView &view)
    {
        return ImportLegacyFolder(
            m_old->path(), DatabaseLocation { m_tables->path(), {} }, QDate(2026, 12, 10), view);
    }
    void addRows(const TableSchema &schema, const QList<QVariantList> &rows)
    {
        DatabaseTable table(m_tables->path(), schema);
        QVERIFY(table.open(DatabaseTable::OpenMode::OpenOrCreate));
        for (const QVariantList &row : rows) {
            QVERIFY2(table.append(row), qPrintable(table.errorText()));
        }
    }

    std::unique_ptr<QTemporaryDir> m_old;
    std::unique_ptr<QTemporaryDir> m_tables;
};

void TestLegacyImport::init()
{
    m_old = std::make_unique<QTemporaryDir>();
    m_tables = std::make_unique<QTemporaryDir>();
}

void TestLegacyImport::importsFourTablesOnce_data()
{
    QTest::addColumn<int>("codePage");
    QTest::newRow("866") << 866;
    QTest::newRow("1251") << 1251;
}

void TestLegacyImport::importsFourTablesOnce()
{
    QFETCH(int, codePage);
    QVERIFY(WriteSampleTables(m_old->path(), codePage));

    RecordingImportView first;
    LegacyImportResult result = import(first);
    QVERIFY2(result.succeeded(), qPrintable(first.summaries.join(u'\n')));
    QCOMPARE(first.writingCalls, 1);
    QVERIFY(first.codePageAsked.isEmpty());
    for (const TableSchema *schema : FourTables()) {
        QCOMPARE(TableTexts(m_tables->path(), *schema), SampleTexts(*schema));
    }

    RecordingImportView second;
    result = import(second);
    QVERIFY(result.succeeded());
    for (int i = 0; i < FourTables().size(); ++i) {
        const TableSchema &schema = *FourTables().at(i);
        QCOMPARE(result.tables.at(i).added, 0);
        QCOMPARE(result.tables.at(i).alreadyThere, SampleRows(schema).size());
        QCOMPARE(TableTexts(m_tables->path(), schema), SampleTexts(schema));
    }
}

void TestLegacyImport::mergesWithRowsAlreadyThere()
{
    const QList<QVariantList> results = SampleRows(Tests1Schema());
    // The old table holds its first row twice; ours has it once already.
    QVERIFY(WriteParadoxTable(QFile::encodeName(m_old->filePath(QStringLiteral("tests1.DB"))),
        ParadoxLayout(Tests1Schema()), results + results.mid(0, 1), 866));
    QVERIFY(WriteParadoxTable(QFile::encodeName(m_old->filePath(QStringLiteral("РВ.db"))),
        ParadoxLayout(RvSchema()), SampleRows(RvSchema()), 866, 1));
    addRows(Tests1Schema(), results.mid(0, 1));
    addRows(RvSchema(), { { "0001234", 5, 5 }, SampleRows(RvSchema()).at(2) });

    RecordingImportView view;
    const LegacyImportResult result = import(view);
    QVERIFY(result.succeeded());
    QCOMPARE(result.tables.size(), 2);
    const LegacyTableResult &tests1 = result.tables.at(0);
    QCOMPARE(tests1.records, 4);
    QCOMPARE(tests1.added, 3);
    QCOMPARE(tests1.alreadyThere, 1);
    const LegacyTableResult &rv = result.tables.at(1);
    QCOMPARE(rv.added, 1);
    QCOMPARE(rv.alreadyThere, 1);
    QCOMPARE(rv.conflicts, 1);
    QCOMPARE(TableTexts(m_tables->path(), Tests1Schema()).size(), 4);
    const QList<QStringList> register_ = TableTexts(m_tables->path(), RvSchema());
    QCOMPARE(register_.size(), 3);
    QCOMPARE(register_.at(0), (QStringList { "0001234", "5", "5" })); // the table's row kept
    QVERIFY(view.summaries.join(u'\n').contains(QStringLiteral("ключ уже занят")));
}

void TestLegacyImport::leavesOutWhatCannotComeOver_data()
{
    QTest::addColumn<int>("truncateTo"); // 0: write a text too long instead
    QTest::addColumn<QString>("expected");
    QTest::newRow("truncated") << 3000 << QStringLiteral("позиции 3000");
    QTest::newRow("text too long") << 0 << QStringLiteral("запись 2 из 2: Поле Event");
}

void TestLegacyImport::leavesOutWhatCannotComeOver()
{
    QFETCH(int, truncateTo);
    QFETCH(QString, expected);
    QVERIFY(WriteSampleTables(m_old->path(), 1251));
    const QString test23 = m_old->filePath(QStringLiteral("Test23.DB"));
    QList<ParadoxFieldSpec> layout = ParadoxLayout(Test23Schema());
    QList<QVariantList> rows = SampleRows(Test23Schema());
    if (truncateTo == 0) {
        layout[2].width = 20;
        rows[1][2] = QStringLiteral("Тест 3 повторный");
    }
    QVERIFY(WriteParadoxTable(QFile::encodeName(test23), layout, rows, 1251));
    if (truncateTo > 0) {
        QVERIFY(QFile::resize(test23, truncateTo));
    }
    addRows(Test23Schema(), { SampleRows(Test23Schema()).at(1) });

    RecordingImportView view;
    const LegacyImportResult result = import(view);
    QVERIFY(!result.succeeded());
    QVERIFY(!view.succeeded);
    const LegacyTableResult &failed = result.tables.at(1);
    QCOMPARE(failed.outcome, LegacyTableResult::Outcome::Failed);
    QVERIFY2(failed.error.contains(QStringLiteral("Test23.DB")) && failed.error.contains(expected),
        qPrintable(failed.error));
    QVERIFY(view.summaries.join(u'\n').contains(failed.error));
    QCOMPARE(TableTexts(m_tables->path(), Test23Schema()).size(), 1);
    for (const TableSchema *schema : { &Tests1Schema(), &RvSchema(), &BlockNumSchema() }) {
        QCOMPARE(TableTexts(m_tables->path(), *schema), SampleTexts(*schema));
    }
}

void TestLegacyImport::asksForMissingCodePage_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("866 chosen") << 866;
    QTest::newRow("none chosen") << 0;
}

void TestLegacyImport::asksForMissingCodePage()
{
    QFETCH(int, answer);
    QVERIFY(WriteParadoxTable(QFile::encodeName(m_old->filePath(QStringLiteral("Test23.DB"))),
        ParadoxLayout(Test23Schema()), SampleRows(Test23Schema()), 0));
    // Texts written in 866 under a header that names no code page.
    QVERIFY(WriteParadoxTable(QFile::encodeName(m_old->filePath(QStringLiteral("x.db"))),
        ParadoxLayout(Test23Schema()), SampleRows(Test23Schema()), 866));
    QFile::remove(m_old->filePath(QStringLiteral("Test23.DB")));
    QVERIFY(QFile::rename(
        m_old->filePath(QStringLiteral("x.db")), m_old->filePath(QStringLiteral("Test23.DB"))));
    {
        QFile file(m_old->filePath(QStringLiteral("Test23.DB")));
        QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(0x6A));
        file.write(QByteArray(2, '\0'));
    }

    RecordingImportView view;
    view.codePageAnswer = answer;
    const LegacyImportResult result = import(view);
    QCOMPARE(view.codePageAsked.size(), 1);
    QVERIFY(view.codePageAsked.at(0).endsWith(QStringLiteral("Test23.DB")));
    if (answer == 0) {
        QCOMPARE(result.tables.at(0).outcome, LegacyTableResult::Outcome::LeftOut);
        QVERIFY(!QFile::exists(m_tables->filePath(QStringLiteral("Test23.DB"))));
    } else {
        QVERIFY(result.succeeded());
        QCOMPARE(TableTexts(m_tables->path(), Test23Schema()), SampleTexts(Test23Schema()));
    }
}

void TestLegacyImport::cancelLeavesTablesAsTheyWere()
{
    QVERIFY(WriteSampleTables(m_old->path(), 866));
    addRows(RvSchema(), { { "0000001", 1, 2 } });
    RecordingImportView view;
    view.cancelAfter = 2; // in the middle of the third table
    const LegacyImportResult result = import(view);
    QVERIFY(result.cancelled);
    QCOMPARE(view.writingCalls, 0);
    QCOMPARE(TableTexts(m_tables->path(), RvSchema()), (QList<QStringList> { { "0000001", "1", "2" } }));
    for (const TableSchema *schema : { &Tests1Schema(), &Test23Schema(), &BlockNumSchema() }) {
        QVERIFY(!QFile::exists(m_tables->filePath(schema->fileName)));
    }
    QVERIFY(view.summaries.join(u'\n').contains(QStringLiteral("отменён")));
}

QTEST_GUILESS_MAIN(TestLegacyImport)
#include "tst_legacyimport.moc"
