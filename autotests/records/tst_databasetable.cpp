#include "rawconnection.h"
#include "records/databasetable.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

using Mode = DatabaseTable::OpenMode;

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A connection of "another SQLite client": plain SQL, rollback journal.
using OtherClient = RawConnection;

const char *Test23Columns
    = "\"Date\" text, \"Time\" text, \"Event\" text, \"Direction\" text, "
      "\"Mehanik\" text, \"Train\" text, \"Loko\" text, \"ResultWord\" text, "
      "\"ResultCod\" text, \"DeviacD\" text, \"DeviacM\" text, \"DeviacG\" "
      "text, \"Sens_mw_itog\" text, \"Sens_mw_osl\" text, \"Sens_gmw_itog\" "
      "text, \"Sens_gmw_osl\" text, \"MesD\" text, \"MesG\" text, \"MesM\" text";

QVariantList test23Row(const QDate &day, const QString &loko)
{
    QVariantList row { day, QTime(12, 30, 15, 7), "Тест 2", "От ТЕЛВ", "9316", "1234", loko,
        "Норма", "0000000" };
    while (row.size() < Test23Schema().fields.size()) {
        row.append(QStringLiteral("00"));
    }
    return row;
}

QStringList storedTexts(const TableRow &row)
{
    QStringList texts;
    for (const QVariant &value : row.values) {
        texts.append(value.isNull() ? QStringLiteral("<null>") : value.toString());
    }
    return texts;
}

} // namespace

class TestDatabaseTable : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void missingTableIsCreatedOnlyWhenAsked()
    {
        QTemporaryDir dir;
        DatabaseTable table(dir.path(), Test23Schema());
        QVERIFY(!table.open(Mode::ExistingOnly));
        QVERIFY(!table.errorText().isEmpty());
        QVERIFY(!QFile::exists(table.filePath()));

        QVERIFY2(table.open(Mode::OpenOrCreate), qPrintable(table.errorText()));
        QVERIFY(table.append(test23Row(QDate(2026, 1, 2), "0000001")));
        table.close();

        // Opened again, existing rows stay: the table is not re-created.
        QVERIFY(table.open(Mode::OpenOrCreate));
        QCOMPARE(table.rowCount(), 1);
        QVERIFY(table.open(Mode::ExistingOnly));
        QCOMPARE(table.rowCount(), 1);
    }

    void emptyFileIsGivenTheTable()
    {
        QTemporaryDir dir;
        DatabaseTable table(dir.path(), RvSchema());
        writeFile(table.filePath(), {});
        QVERIFY(!table.open(Mode::ExistingOnly));
        QVERIFY(table.open(Mode::OpenOrCreate));
        QVERIFY(table.append({ "0000001", 3, -4 }));
        QCOMPARE(table.rowCount(), 1);
    }

    void tableOfAnotherClientIsUsed()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Test23.DB");
        {
            OtherClient other(path);
            QVERIFY(other.exec(QStringLiteral("create table Test23 (%1)").arg(Test23Columns)));
            QVERIFY(other.exec("insert into Test23 (\"Date\", \"Loko\") values ('2025-05-05', "
                               "'0000007')"));
        }
        DatabaseTable table(dir.path(), Test23Schema());
        QVERIFY2(table.open(Mode::OpenOrCreate), qPrintable(table.errorText()));
        QVERIFY(table.append(test23Row(QDate(2026, 1, 2), "0000008")));
        QCOMPARE(table.rowCount(), 2);
        QList<TableRow> rows;
        QVERIFY(table.readPage({}, 0, 10, &rows));
        QCOMPARE(rows.first().values.at(6).toString(), QStringLiteral("0000007"));
    }

    void unusableFileIsRefusedAndLeftByteIdentical_data()
    {
        QTest::addColumn<QString>("setupSql"); // empty: raw bytes below
        QTest::addColumn<QByteArray>("bytes");

        QByteArray header("SQLite format 3\0", 16);
        QTest::newRow("text file") << QString() << QByteArray("Date;Time;Event\n1;2;3\n");
        QTest::newRow("short file") << QString() << QByteArray("SQLite");
        QTest::newRow("header then garbage") << QString() << header + QByteArray(4080, '\xA5');
        QTest::newRow("another schema, same name")
            << "create table Test23 (Date text, Time text, Event text)" << QByteArray();
        QTest::newRow("columns in another order") << QStringLiteral("create table Test23 (%1)")
                                                         .arg(QString::fromLatin1(Test23Columns)
                                                                  .replace("\"Train\"", "\"Tmp\"")
                                                                  .replace("\"Loko\"", "\"Train\"")
                                                                  .replace("\"Tmp\"", "\"Loko\""))
                                                  << QByteArray();
        QTest::newRow("integer where text belongs") << QStringLiteral("create table Test23 (%1)")
                                                           .arg(QString::fromLatin1(Test23Columns)
                                                                    .replace("\"MesM\" text",
                                                                        "\"MesM\" "
                                                                        "integer"))
                                                    << QByteArray();
        QTest::newRow("without rowid")
            << QStringLiteral("create table Test23 (%1, primary key (\"Date\")) without rowid")
                   .arg(Test23Columns)
            << QByteArray();
        QTest::newRow("other tables only") << "create table Other (a text)" << QByteArray();
    }

    void unusableFileIsRefusedAndLeftByteIdentical()
    {
        QFETCH(QString, setupSql);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath("Test23.DB");
        if (setupSql.isEmpty()) {
            writeFile(path, bytes);
        } else {
            OtherClient other(path);
            QVERIFY(other.exec(setupSql));
        }
        const QByteArray before = readFile(path);

        for (Mode mode : { Mode::ExistingOnly, Mode::OpenOrCreate }) {
            DatabaseTable table(dir.path(), Test23Schema());
            QVERIFY(!table.open(mode));
            QVERIFY(!table.isOpen());
            QVERIFY(!table.errorText().isEmpty());
            QVERIFY(!table.append(test23Row(QDate(2026, 1, 2), "1")));
        }
        QCOMPARE(readFile(path), before);
    }

    void damagedSchemaPageIsRefusedAndLeftByteIdentical()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Test23.DB");
        {
            DatabaseTable table(dir.path(), Test23Schema());
            QVERIFY(table.open(Mode::OpenOrCreate));
            QVERIFY(table.append(test23Row(QDate(2026, 1, 2), "1")));
        }
        QByteArray bytes = readFile(path);
        QVERIFY(bytes.size() > 4096);
        for (int i = 100; i < 4096; ++i) {
            bytes[i] = char(0x5A);
        }
        writeFile(path, bytes);

        DatabaseTable table(dir.path(), Test23Schema());
        QVERIFY(!table.open(Mode::OpenOrCreate));
        QVERIFY(!table.errorText().isEmpty());
        QCOMPARE(readFile(path), bytes);
    }

    // Found by fuzzing: a damaged BlockNum.DB whose schema reads as empty was taken
    // for a file without the table, set to WAL and given a new table.
    void damagedFileThatReadsEmptyIsNotWritten()
    {
        const QString seed = QFINDTESTDATA("../../fuzz/corpus/fuzz_tablefile/damaged_schema_reads_empty");
        QVERIFY(!seed.isEmpty());
        const QByteArray bytes = readFile(seed).mid(1); // the first byte picks the table
        QTemporaryDir dir;
        const QString path = dir.filePath(BlockNumSchema().fileName);
        writeFile(path, bytes);

        DatabaseTable table(dir.path(), BlockNumSchema());
        QVERIFY(!table.open(Mode::OpenOrCreate));
        QVERIFY(table.errorText().contains(QStringLiteral("поврежден")));
        QCOMPARE(readFile(path), bytes);
    }

    void lockedFileFailsWithinASecondAndStaysIntact()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Test23.DB");
        OtherClient other(path);
        QVERIFY(other.exec(QStringLiteral("create table Test23 (%1)").arg(Test23Columns)));
        QVERIFY(other.exec("begin exclusive"));
        QVERIFY(other.exec("insert into Test23 (\"Loko\") values ('1')"));
        const QByteArray before = readFile(path);

        DatabaseTable table(dir.path(), Test23Schema());
        QElapsedTimer elapsed;
        elapsed.start();
        QVERIFY(!table.open(Mode::OpenOrCreate));
        QVERIFY2(elapsed.elapsed() < 1000, qPrintable(QString::number(elapsed.elapsed())));
        QVERIFY(!table.errorText().isEmpty());
        QCOMPARE(readFile(path), before);

        QVERIFY(other.exec("commit"));
        QVERIFY2(table.open(Mode::OpenOrCreate), qPrintable(table.errorText()));
        QCOMPARE(table.rowCount(), 1);
    }

    void browserAndRecorderShareTheFile()
    {
        QTemporaryDir dir;
        DatabaseTable browser(dir.path(), Test23Schema());
        QVERIFY(browser.open(Mode::OpenOrCreate));
        QVERIFY(browser.append(test23Row(QDate(2026, 1, 1), "1")));

        // A reader in the middle of a read transaction does not stop an append.
        OtherClient reader(browser.filePath());
        QVERIFY(reader.exec("begin"));
        QCOMPARE(reader.value("select count(*) from Test23"), QStringLiteral("1"));

        QElapsedTimer elapsed;
        elapsed.start();
        for (int i = 0; i < 3; ++i) {
            DatabaseTable recorder(dir.path(), Test23Schema());
            QVERIFY2(recorder.open(Mode::OpenOrCreate), qPrintable(recorder.errorText()));
            QVERIFY2(recorder.append(test23Row(QDate(2026, 1, 2), "2")),
                qPrintable(recorder.errorText()));
        }
        QVERIFY(elapsed.elapsed() < 1000);
        QCOMPARE(reader.value("select count(*) from Test23"), QStringLiteral("1")); // its snapshot
        QVERIFY(reader.exec("commit"));
        QCOMPARE(browser.rowCount(), 4); // re-read shows rows recorded meanwhile
        QCOMPARE(reader.value("pragma integrity_check"), QStringLiteral("ok"));
    }

    void valuesAreStoredInTheirFieldForm_data()
    {
        QTest::addColumn<int>("field"); // in BlockNum
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("stored");

        QTest::newRow("loko cut to 8") << 0 << QVariant("123456789") << "12345678";
        QTest::newRow("loko exactly 8") << 0 << QVariant("12345678") << "12345678";
        QTest::newRow("cyrillic cut by characters")
            << 1 << QVariant("ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ") << "ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ";
        QTest::newRow("pair of surrogates is one character")
            << 1 << QVariant(QString(15, u'1') + QStringLiteral("\U0001F600x"))
            << QString(15, u'1') + QStringLiteral("\U0001F600");
        QTest::newRow("null text stored empty") << 2 << QVariant() << "";
        QTest::newRow("date") << 9 << QVariant(QDate(2026, 3, 4)) << "2026-03-04";
        QTest::newRow("date of a date-time")
            << 9 << QVariant(QDateTime(QDate(2026, 3, 4), QTime(23, 59))) << "2026-03-04";
        QTest::newRow("time to the millisecond")
            << 10 << QVariant(QTime(7, 8, 9, 5)) << "07:08:09.005";
        QTest::newRow("time of a date-time")
            << 10 << QVariant(QDateTime(QDate(2026, 3, 4), QTime(23, 59, 1, 999)))
            << "23:59:01.999";
        QTest::newRow("empty date stays empty") << 12 << QVariant() << "<null>";
        QTest::newRow("short integer") << 11 << QVariant(2) << "2";
        QTest::newRow("short integer empty") << 11 << QVariant(QString()) << "<null>";
    }

    void valuesAreStoredInTheirFieldForm()
    {
        QFETCH(int, field);
        QFETCH(QVariant, value);
        QFETCH(QString, stored);
        QTemporaryDir dir;
        DatabaseTable table(dir.path(), BlockNumSchema());
        QVERIFY(table.open(Mode::OpenOrCreate));
        QVariantList row { "0000001", "b1", "b2", "b3", "b4", "b5", "b6", "b7", "b8",
            QDate(2026, 1, 1), QTime(1, 2), 2, QVariant(), QVariant() };
        row[field] = value;
        QVERIFY2(table.append(row), qPrintable(table.errorText()));
        QList<TableRow> rows;
        QVERIFY(table.readPage({}, 0, 10, &rows));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(storedTexts(rows.first()).at(field), stored);
    }

    void valueAFieldCannotHoldIsRefused_data()
    {
        QTest::addColumn<int>("field"); // in РВ
        QTest::addColumn<QVariant>("value");
        QTest::newRow("32768") << 1 << QVariant(32768);
        QTest::newRow("-32769") << 2 << QVariant(-32769);
        QTest::newRow("100000 as text") << 1 << QVariant("100000");
        QTest::newRow("not a number") << 2 << QVariant("12a");
    }

    void valueAFieldCannotHoldIsRefused()
    {
        QFETCH(int, field);
        QFETCH(QVariant, value);
        QTemporaryDir dir;
        DatabaseTable table(dir.path(), RvSchema());
        QVERIFY(table.open(Mode::OpenOrCreate));
        QVERIFY(table.append({ "0000001", 32767, -32768 })); // the range's own ends fit
        QVariantList row { "0000002", 0, 0 };
        row[field] = value;
        QVERIFY(!table.append(row));
        const QString fieldName = RvSchema().fields.at(field).name;
        QVERIFY2(table.errorText().contains(fieldName), qPrintable(table.errorText()));
        QCOMPARE(table.rowCount(), 1);
    }

    void rowOfWrongWidthOrDuplicateKeyIsRefused()
    {
        QTemporaryDir dir;
        DatabaseTable table(dir.path(), RvSchema());
        QVERIFY(table.open(Mode::OpenOrCreate));
        QVERIFY(!table.append({ "0000001", 1 }));
        QVERIFY(table.append({ "0000001", 1, 2 }));
        QVERIFY(!table.append({ "0000001", 3, 4 }));
        QVERIFY(!table.errorText().isEmpty());
        QCOMPARE(table.rowCount(), 1);
    }

    void pagesByRowidWithADateFilter()
    {
        QTemporaryDir dir;
        DatabaseTable table(dir.path(), Test23Schema());
        QVERIFY(table.open(Mode::OpenOrCreate));
        for (int day = 1; day <= 20; ++day) {
            QVERIFY(table.append(test23Row(QDate(2026, 1, day), QString::number(day))));
        }
        const RowFilter days { QDate(2026, 1, 5), QDate(2026, 1, 11) };
        QCOMPARE(table.rowCount(days), 7);
        QCOMPARE(table.rowCount({ QDate(2026, 1, 11), QDate(2026, 1, 11) }), 1);
        QCOMPARE(table.rowCount({ QDate(2026, 1, 12), QDate(2026, 1, 11) }), 0);
        QCOMPARE(table.rowCount({ std::nullopt, QDate(2026, 1, 3) }), 3);

        QStringList seen;
        qint64 after = 0;
        QList<TableRow> page;
        do {
            QVERIFY(table.readPage(days, after, 3, &page));
            QVERIFY(page.size() <= 3);
            for (const TableRow &row : std::as_const(page)) {
                QVERIFY(row.rowid > after);
                after = row.rowid;
                seen.append(row.values.at(6).toString());
            }
        } while (!page.isEmpty());
        QCOMPARE(seen, (QStringList { "5", "6", "7", "8", "9", "10", "11" }));
    }

    void deletesByRowid()
    {
        QTemporaryDir dir;
        DatabaseTable table(dir.path(), Test23Schema());
        QVERIFY(table.open(Mode::OpenOrCreate));
        for (int i = 1; i <= 3; ++i) {
            QVERIFY(table.append(test23Row(QDate(2026, 1, i), QString::number(i))));
        }
        QList<TableRow> rows;
        QVERIFY(table.readPage({}, 0, 10, &rows));
        QVERIFY(table.deleteRow(rows[1].rowid));
        QVERIFY(!table.deleteRow(rows[1].rowid));
        QVERIFY(table.readPage({}, 0, 10, &rows));
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[1].values.at(6).toString(), QStringLiteral("3"));
    }

    void newTableInAGroupsFolderIsTheGroupsToWrite_data()
    {
        QTest::addColumn<QFile::Permissions>("folder");
        QTest::addColumn<QFile::Permissions>("expected");
        const QFile::Permissions read = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        const QFile::Permissions enter = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
        // The machine's folder of an installed program (rwxrwxr-x): rw-rw-r--.
        QTest::newRow("group's folder") << (read | enter | QFile::WriteOwner | QFile::WriteGroup)
                                        << (read | QFile::WriteOwner | QFile::WriteGroup);
        // A user's own folder (rwxr-xr-x) keeps the usual rw-r--r--.
        QTest::newRow("user's folder")
            << (read | enter | QFile::WriteOwner) << (read | QFile::WriteOwner);
    }

    void newTableInAGroupsFolderIsTheGroupsToWrite()
    {
        QFETCH(QFile::Permissions, folder);
        QFETCH(QFile::Permissions, expected);
        // A desktop session's usual umask, which alone would keep the group out.
        const mode_t umaskBefore = umask(022);
        const auto restoreUmask = qScopeGuard([umaskBefore] { umask(umaskBefore); });
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), folder));
        DatabaseTable table(dir.path(), Test23Schema());
        QVERIFY2(table.open(Mode::OpenOrCreate), qPrintable(table.errorText()));
        QVERIFY(table.append(test23Row(QDate(2026, 1, 2), "0000001")));
        // While the table is open its write-ahead log and the log's index exist too;
        // another member of the group writes them as well.
        const QFile::Permissions mask = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
            | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
        for (const char *suffix : { "", "-wal", "-shm" }) {
            const QString path = table.filePath() + QLatin1String(suffix);
            QVERIFY2(QFile::exists(path), qPrintable(path));
            QCOMPARE(QFile::permissions(path) & mask, expected);
        }
    }

    void closedTableRefusesWork()
    {
        QTemporaryDir dir;
        DatabaseTable table(dir.path(), Test23Schema());
        QList<TableRow> rows;
        QVERIFY(!table.append(test23Row(QDate(2026, 1, 1), "1")));
        QCOMPARE(table.rowCount(), -1);
        QVERIFY(!table.readPage({}, 0, 10, &rows));
        QVERIFY(!table.deleteRow(1));
    }
};

QTEST_GUILESS_MAIN(TestDatabaseTable)
#include "tst_databasetable.moc"
