// Table files that are valid but come from elsewhere: a directory that cannot be
// written, triggers stored in the file, texts far longer than their fields.

#include "readonlydirectory.h"
#include "records/databasetable.h"
#include "resulttables.h"
#include "tabletexts.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

using Mode = DatabaseTable::OpenMode;

QList<QVariantList> radioRows(int count)
{
    QList<QVariantList> rows;
    for (int i = 0; i < count; ++i) {
        rows.append(ResultTables::RadioTestRow(QDate(2026, 3, 1), QString::number(1000000 + i)));
    }
    return rows;
}

// The length of the longest text among the values.
qsizetype longestText(const QList<QVariantList> &rows)
{
    qsizetype longest = 0;
    for (const QVariantList &row : rows) {
        for (const QVariant &value : row) {
            longest = std::max(longest, value.toString().size());
        }
    }
    return longest;
}

} // namespace

class TestForeignTables : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void tablesInADirectoryThatCannotBeWrittenAreReadOnly_data()
    {
        QTest::addColumn<bool>("foreignJournal"); // written by a client with a rollback journal
        QTest::newRow("written by the program") << false;
        QTest::newRow("written by another client") << true;
    }
    void tablesInADirectoryThatCannotBeWrittenAreReadOnly()
    {
        QFETCH(bool, foreignJournal);
        QTemporaryDir dir;
        const QString path = dir.filePath(Test23Schema().fileName);
        QVERIFY(ResultTables::Append(dir.path(), Test23Schema(), radioRows(3)));
        if (foreignJournal) {
            QVERIFY(ExecOnTableFile(path, { "PRAGMA journal_mode=DELETE" }));
        }
        const auto before = FileChecksums(dir.path());

        {
            ReadOnlyDirectory readOnly(dir.path());
            QVERIFY(readOnly.holds());
            DatabaseTable table(dir.path(), Test23Schema());
            QVERIFY2(table.open(Mode::OpenOrCreate), qPrintable(table.errorText()));
            QVERIFY(table.isReadOnly());
            QCOMPARE(table.rowCount(), 3);
            QList<TableRow> rows;
            QVERIFY(table.readAll(&rows));
            QCOMPARE(rows.at(2).values.at(6).toString(), "1000002");

            const QString refusal = QStringLiteral(
                "Таблица Test23.DB открыта только для чтения: нет права записи в файл или в папку ");
            QVERIFY(!table.append(radioRows(1).first()));
            QVERIFY2(table.errorText().startsWith(refusal), qPrintable(table.errorText()));
            QVERIFY(!table.deleteRows({ rows.first().rowid }));
            QVERIFY(table.errorText().startsWith(refusal));
            qint64 rowid = 0;
            QVERIFY(!table.insert(radioRows(1).first(), &rowid));
            QVERIFY(!table.update(rows.first().rowid, radioRows(1).first()));
            QCOMPARE(table.rowCount(), 3);

            // A table that is missing cannot be made there, and nothing is left behind.
            DatabaseTable missing(dir.path(), RvSchema());
            QVERIFY(!missing.open(Mode::OpenOrCreate));
            QVERIFY(!missing.errorText().isEmpty());
        }
        QCOMPARE(FileChecksums(dir.path()), before);
    }

    void aFileWithTriggersIsRefusedUntouched_data()
    {
        QTest::addColumn<QStringList>("statements");
        QTest::newRow("wipes the table at the next row") << QStringList {
            "CREATE TRIGGER wipe AFTER INSERT ON Test23 BEGIN "
            "DELETE FROM Test23 WHERE rowid <> new.rowid; END"
        };
        QTest::newRow("before a delete") << QStringList {
            "CREATE TRIGGER keep BEFORE DELETE ON Test23 BEGIN SELECT RAISE(IGNORE); END"
        };
        QTest::newRow("on another table of the file") << QStringList {
            "CREATE TABLE Other (a)",
            "CREATE TRIGGER fill AFTER INSERT ON Other BEGIN "
            "INSERT INTO Test23 (\"Loko\") VALUES ('x'); END"
        };
    }
    void aFileWithTriggersIsRefusedUntouched()
    {
        QFETCH(QStringList, statements);
        QTemporaryDir dir;
        const QString path = dir.filePath(Test23Schema().fileName);
        QVERIFY(ResultTables::Append(dir.path(), Test23Schema(), radioRows(64)));
        QVERIFY(ExecOnTableFile(path, statements));
        const auto before = FileChecksums(dir.path());

        for (Mode mode : { Mode::ExistingOnly, Mode::OpenOrCreate }) {
            DatabaseTable table(dir.path(), Test23Schema());
            QVERIFY(!table.open(mode));
            QVERIFY2(table.errorText().contains("триггеры"), qPrintable(table.errorText()));
            QVERIFY(table.errorText().contains(path));
            QVERIFY(!table.append(radioRows(1).first()));
        }
        QCOMPARE(FileChecksums(dir.path()), before);
    }

    void overlongTextsAreCutToTheirFieldOnEveryRead_data()
    {
        QTest::addColumn<QString>("read");
        QTest::newRow("pages") << "pages";
        QTest::newRow("all rows") << "all";
        QTest::newRow("query") << "query";
    }
    void overlongTextsAreCutToTheirFieldOnEveryRead()
    {
        QFETCH(QString, read);
        QTemporaryDir dir;
        const QString path = dir.filePath(Test23Schema().fileName);
        QVERIFY(ResultTables::Append(dir.path(), Test23Schema(), radioRows(2)));
        const QString megabyte(1 << 20, u'Ж');
        QVERIFY(ExecOnTableFile(path,
            { QStringLiteral("UPDATE Test23 SET \"Loko\" = '%1', \"ResultCod\" = '%1', \"Date\" = "
                             "'%1', \"Time\" = CAST('%1' AS BLOB) WHERE rowid = 2")
                    .arg(megabyte) }));
        const auto before = FileChecksums(dir.path());

        DatabaseTable table(dir.path(), Test23Schema());
        QVERIFY(table.open(Mode::ExistingOnly));
        QList<QVariantList> values;
        if (read == "query") {
            QStringList columns;
            QVERIFY(table.select("SELECT * FROM Test23 ORDER BY rowid", {}, &columns, &values));
        } else {
            QList<TableRow> rows;
            QVERIFY(read == "pages" ? table.readPage({}, 0, 10, &rows) : table.readAll(&rows));
            for (const TableRow &row : rows) {
                values.append(row.values);
            }
        }
        QCOMPARE(values.size(), 2);
        const QVariantList &cut = values.at(1);
        QCOMPARE(cut.at(Test23Schema().fieldIndex("Loko")).toString(), QString(8, u'Ж'));
        QCOMPARE(cut.at(Test23Schema().fieldIndex("ResultCod")).toString(), QString(7, u'Ж'));
        QCOMPARE(cut.at(Test23Schema().fieldIndex("Date")).toString(), QString(10, u'Ж'));
        QCOMPARE(cut.at(Test23Schema().fieldIndex("Time")).toString(), QString(12, u'Ж'));
        QVERIFY(longestText(values) <= 13); // "Mehanik", the widest field
        // The ordinary row is read as it is.
        QCOMPARE(values.at(0).at(Test23Schema().fieldIndex("Loko")).toString(), "1000000");
        table.close();
        QCOMPARE(FileChecksums(dir.path()), before);
    }
};

QTEST_GUILESS_MAIN(TestForeignTables)
#include "tst_foreigntables.moc"
