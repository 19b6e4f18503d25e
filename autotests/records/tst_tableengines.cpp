// The table layer on both engines from one table of cases: SQLite files in a
// directory, and a PostgreSQL database on a cluster the test starts itself.
#include "rawconnection.h"
#include "resulttables.h"
#include "throwawaycluster.h"

#include "records/resultbrowser.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace ResultTables;
using Mode = DatabaseTable::OpenMode;

namespace {

QStringList Texts(const QVariantList &values)
{
    QStringList texts;
    for (const QVariant &value : values) {
        texts.append(value.isNull() ? QStringLiteral("<null>") : value.toString());
    }
    return texts;
}

QVariantList BlockNumRow(const QString &loko)
{
    return { loko, "b1", "b2", "b3", "b4", "b5", "b6", "b7", "b8", QDate(2026, 1, 1),
        QTime(1, 2), 2, QVariant(), QVariant() };
}


} // namespace

class TestTableEngines : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<ThrowawayCluster> m_cluster;
    std::list<QTemporaryDir> m_dirs;

    // An empty place for tables on the engine: a new directory, or a new database.
    DatabaseLocation freshLocation(bool server)
    {
        DatabaseLocation location { m_dirs.emplace_back().path(), {} };
        if (server) {
            location.server = m_cluster->newDatabase();
        }
        return location;
    }

    static void addEngines()
    {
        QTest::addColumn<bool>("server");
        QTest::newRow("SQLite") << false;
        QTest::newRow("PostgreSQL") << true;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_cluster = std::make_unique<ThrowawayCluster>();
        QVERIFY2(m_cluster->isRunning(), qPrintable(m_cluster->errorText()));
    }

    // Every table is made on first use with the fields it is read back with, and
    // opened again as it is: never made anew, its rows kept.
    void tablesAreMadeOnFirstUseOnly_data() { addEngines(); }
    void tablesAreMadeOnFirstUseOnly()
    {
        QFETCH(bool, server);
        const DatabaseLocation location = freshLocation(server);
        const QList<std::pair<const TableSchema *, QVariantList>> tables {
            { &Tests1Schema(), SelfTestRow(QDate(2026, 5, 6), "Иванов") },
            { &Test23Schema(), RadioTestRow(QDate(2026, 5, 6), "0000007") },
            { &RvSchema(), { "0000007", 3, -4 } },
            { &BlockNumSchema(), BlockNumRow("0000007") },
        };
        for (const auto &[schema, row] : tables) {
            DatabaseTable table(location, *schema);
            QVERIFY(!table.open(Mode::ExistingOnly));
            QVERIFY2(table.open(Mode::OpenOrCreate), qPrintable(table.errorText()));
            QVERIFY2(table.append(row), qPrintable(table.errorText()));
            table.close();
            QVERIFY2(table.open(Mode::ExistingOnly), qPrintable(table.errorText()));
            QVERIFY(table.open(Mode::OpenOrCreate));
            QList<TableRow> rows;
            QVERIFY(table.readAll(&rows));
            QCOMPARE(rows.size(), 1);
            QCOMPARE(rows.first().values.size(), schema->fields.size());
        }
    }

    // Values come back in the same stored forms on both engines, whatever their
    // characters: every value is bound, never spliced into a statement.
    void valuesReadBackInTheirStoredForm_data()
    {
        QTest::addColumn<bool>("server");
        QTest::addColumn<int>("field"); // in BlockNum
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("stored");
        for (const bool server : { false, true }) {
            const char *engine = server ? "PostgreSQL: " : "SQLite: ";
            auto row = [&](const char *name) -> QTestData & {
                return QTest::newRow((QByteArray(engine) + name).constData()) << server;
            };
            row("date") << 9 << QVariant(QDate(2026, 3, 4)) << "2026-03-04";
            row("time to the millisecond") << 10 << QVariant(QTime(7, 8, 9, 5)) << "07:08:09.005";
            row("time on a whole second") << 10 << QVariant(QTime(23, 59, 1)) << "23:59:01.000";
            row("time .999") << 10 << QVariant(QTime(0, 0, 0, 999)) << "00:00:00.999";
            row("no date") << 12 << QVariant() << "<null>";
            row("text cut by characters")
                << 1 << QVariant("ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ") << "ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ";
            row("quotes and a statement") << 1 << QVariant("x');DROP TABLE\"B") << "x');DROP TABLE\"B";
            row("backslash") << 2 << QVariant("a\\b\\'") << "a\\b\\'";
            row("short integer low end") << 11 << QVariant(-32768) << "-32768";
            row("short integer high end") << 11 << QVariant(32767) << "32767";
            row("no short integer") << 11 << QVariant(QString()) << "<null>";
        }
    }

    void valuesReadBackInTheirStoredForm()
    {
        QFETCH(bool, server);
        QFETCH(int, field);
        QFETCH(QVariant, value);
        QFETCH(QString, stored);
        DatabaseTable table(freshLocation(server), BlockNumSchema());
        QVERIFY2(table.open(Mode::OpenOrCreate), qPrintable(table.errorText()));
        QVariantList row = BlockNumRow("0000001");
        row[field] = value;
        QVERIFY2(table.append(row), qPrintable(table.errorText()));
        QList<TableRow> rows;
        QVERIFY(table.readAll(&rows));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(Texts(rows.first().values).at(field), stored);
        QStringList columns;
        QList<QVariantList> selected;
        QVERIFY(table.select("SELECT " + table.rowColumns() + " FROM \"BlockNum\"", {}, &columns,
            &selected));
        QCOMPARE(Texts(selected.first()).at(field + 1), stored);
        QCOMPARE(selected.first().first().toLongLong(), rows.first().rowid);
    }

    // A table of the same name but another layout is refused and left as it was.
    void tableOfAnotherLayoutIsRefusedUntouched_data()
    {
        QTest::addColumn<bool>("server");
        QTest::addColumn<QString>("columns");
        const QString keyed = "\"Lokomotiv\" varchar(7) NOT NULL PRIMARY KEY, ";
        for (const bool server : { false, true }) {
            const QByteArray engine = server ? "PostgreSQL: " : "SQLite: ";
            QTest::newRow(engine + "a field missing") << server << keyed + "\"OslablenieM\" smallint";
            QTest::newRow(engine + "a field of another type")
                << server << keyed + "\"OslablenieM\" smallint, \"OslablenieG\" text";
            QTest::newRow(engine + "no key")
                << server
                << "\"Lokomotiv\" varchar(7), \"OslablenieM\" smallint, \"OslablenieG\" smallint";
        }
        // Made by hand with the fields alone, without the row identity.
        QTest::newRow("PostgreSQL: no row identity")
            << true << keyed + "\"OslablenieM\" smallint, \"OslablenieG\" smallint";
    }

    void tableOfAnotherLayoutIsRefusedUntouched()
    {
        QFETCH(bool, server);
        QFETCH(QString, columns);
        const DatabaseLocation location = freshLocation(server);
        RawConnection other(location, RvSchema().fileName);
        QVERIFY(other.exec("CREATE TABLE \"РВ\" (" + columns + ")"));
        QVERIFY(other.exec("INSERT INTO \"РВ\" (\"Lokomotiv\") VALUES ('0000001')"));
        DatabaseTable table(location, RvSchema());
        QVERIFY(!table.open(Mode::OpenOrCreate));
        QVERIFY2(table.errorText().contains("РВ"), qPrintable(table.errorText()));
        QCOMPARE(other.value("SELECT count(*) FROM \"РВ\""), "1");
        QVERIFY(other.exec("INSERT INTO \"РВ\" (\"Lokomotiv\") VALUES ('0000002')"));
    }

    // The register on two PCs: the second writer of a key is refused with the key
    // message, the first one's row stays; rows are found and changed by identity.
    void secondWriterOfAKeyIsRefused_data() { addEngines(); }
    void secondWriterOfAKeyIsRefused()
    {
        QFETCH(bool, server);
        const DatabaseLocation location = freshLocation(server);
        DatabaseTable first(location, RvSchema());
        DatabaseTable second(location, RvSchema());
        QVERIFY(first.open(Mode::OpenOrCreate));
        QVERIFY(second.open(Mode::OpenOrCreate));
        qint64 firstId = 0;
        qint64 secondId = 0;
        QVERIFY2(first.insert({ "0000005", 1, 2 }, &firstId), qPrintable(first.errorText()));
        QVERIFY(!second.insert({ "0000005", 7, 7 }, &secondId));
        QVERIFY2(second.keyViolation(), qPrintable(second.errorText()));

        QVERIFY(second.insert({ "0000006", 7, 7 }, &secondId));
        QVERIFY(secondId != firstId && secondId > 0);
        QVERIFY(!first.update(secondId, { "0000005", 7, 7 }));
        QVERIFY2(first.keyViolation(), qPrintable(first.errorText()));
        QVERIFY(first.update(secondId, { "0000009", 8, 9 }));
        QVERIFY(second.deleteRows({ firstId }));
        QList<TableRow> rows;
        QVERIFY(second.readAll(&rows));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().rowid, secondId);
        QCOMPARE(Texts(rows.first().values), (QStringList { "0000009", "8", "9" }));
    }

    // Reads taken together see one state of the table, not a row appended between.
    void readsTogetherSeeOneState_data() { addEngines(); }
    void readsTogetherSeeOneState()
    {
        QFETCH(bool, server);
        const DatabaseLocation location = freshLocation(server);
        DatabaseTable reader(location, Test23Schema());
        DatabaseTable recorder(location, Test23Schema());
        QVERIFY(reader.open(Mode::OpenOrCreate));
        QVERIFY(recorder.open(Mode::OpenOrCreate));
        QVERIFY(recorder.append(RadioTestRow(QDate(2026, 1, 1), "0000001")));
        qint64 before = -1;
        qint64 after = -1;
        QVERIFY(reader.readConsistently([&] {
            before = reader.rowCount();
            const bool appended = recorder.append(RadioTestRow(QDate(2026, 1, 2), "0000002"));
            after = reader.rowCount();
            return appended;
        }));
        QCOMPARE(before, 1);
        QCOMPARE(after, 1);
        QCOMPARE(reader.rowCount(), 2);
    }

    // The radio test browser on both engines: pages, criteria, a selection and its
    // deletion.
    void browserPagesFiltersAndDeletes_data() { addEngines(); }
    void browserPagesFiltersAndDeletes()
    {
        QFETCH(bool, server);
        const DatabaseLocation location = freshLocation(server);
        constexpr int Rows = 600;
        {
            DatabaseTable table(location, Test23Schema());
            QVERIFY(table.open(Mode::OpenOrCreate));
            for (int i = 0; i < Rows; ++i) {
                QVariantList row = RadioTestRow(
                    QDate(2026, 1, 1).addDays(i / 10), i % 3 ? "0000001" : "0000003");
                row[Test23Schema().fieldIndex("Train")] = QString::number(i);
                QVERIFY(table.append(row));
            }
        }
        ResultBrowser browser(location, RadioTestBrowserDisplay());
        QVERIFY2(browser.open(), qPrintable(browser.errorText()));
        PagedTableModel &model = browser.model();
        QCOMPARE(model.rowCount(), Rows);
        for (const int row : { Rows - 1, 0, 300, 256, 255, 299 }) {
            QCOMPARE(model.storedValue(row, "Train").toString(), QString::number(row));
        }
        QCOMPARE(model.storedValue(10, "Date").toString(), "2026-01-02");
        QCOMPARE(model.storedValue(10, "Time").toString(), "10:15:30.250");

        QVERIFY(browser.setCriteria({ BrowserCriteria::DayRange { QDate(2026, 1, 3),
                                          QDate(2026, 1, 4) },
            PadLocomotiveNumber("3") }));
        QCOMPARE(model.rowCount(), 7); // rows 21, 24, ..., 39
        QCOMPARE(model.storedValue(6, "Train").toString(), "39");

        QVERIFY(browser.setCriteria({}));
        QList<qint64> ids;
        QVERIFY(browser.rowIds({ { 250, 349 } }, &ids));
        QCOMPARE(ids.size(), 100);
        QVERIFY2(browser.deleteRows(ids), qPrintable(browser.errorText()));
        QCOMPARE(model.rowCount(), Rows - 100);
        QCOMPARE(model.storedValue(250, "Train").toString(), "350");
        QCOMPARE(model.storedValue(Rows - 101, "Train").toString(), QString::number(Rows - 1));
    }

    // A server that does not answer: a clear message, told apart from the table's
    // refusals, and the tables again once it is back, through the same open table
    // and browser: a read goes through on a new connection at once, a change on the
    // next call.
    void lostServerIsReportedAndFoundAgain()
    {
        const DatabaseLocation location = freshLocation(true);
        DatabaseTable table(location, RvSchema());
        QVERIFY(table.open(Mode::OpenOrCreate));
        QVERIFY(table.append({ "0000001", 1, 1 }));
        qint64 id = 0;
        QVERIFY(!table.insert({ "0000001", 1, 1 }, &id));
        QVERIFY(table.keyViolation() && !table.serverUnreachable());
        {
            DatabaseTable results(location, Test23Schema());
            QVERIFY(results.open(Mode::OpenOrCreate));
            QVERIFY(results.append(RadioTestRow(QDate(2026, 1, 1), "0000001")));
        }
        ResultBrowser browser(location, RadioTestBrowserDisplay());
        QVERIFY(browser.open());

        QVERIFY(m_cluster->stop());
        QVERIFY(!table.append({ "0000002", 1, 1 }));
        QVERIFY2(table.serverUnreachable(), qPrintable(table.errorText()));
        QCOMPARE(table.rowCount(), -1);
        QVERIFY(table.serverUnreachable());
        DatabaseTable other(location, RvSchema());
        QVERIFY(!other.open(Mode::OpenOrCreate));
        QVERIFY(other.serverUnreachable());
        QVERIFY2(other.errorText().startsWith("Нет связи с сервером базы данных"),
            qPrintable(other.errorText()));

        QVERIFY2(m_cluster->start(), qPrintable(m_cluster->errorText()));
        QCOMPARE(table.rowCount(), 1);
        QVERIFY2(table.append({ "0000002", 1, 1 }), qPrintable(table.errorText()));
        QCOMPARE(table.rowCount(), 2);
        QVERIFY2(browser.refresh(), qPrintable(browser.errorText()));
        QCOMPARE(browser.model().rowCount(), 1);

        // Restarted while idle: the first call goes through all the same.
        QVERIFY(m_cluster->stop() && m_cluster->start());
        QVERIFY2(table.insert({ "0000003", 1, 1 }, &id), qPrintable(table.errorText()));
        QCOMPARE(table.rowCount(), 3);
        QVERIFY2(browser.refresh(), qPrintable(browser.errorText()));

        // Within a transaction nothing connects anew: what it wrote is gone, and the
        // commit says so rather than saving the rest alone.
        QVERIFY(table.beginTransaction());
        QVERIFY(table.append({ "0000004", 1, 1 }));
        QVERIFY(m_cluster->stop() && m_cluster->start());
        QVERIFY(!table.append({ "0000005", 1, 1 }));
        QVERIFY(!table.append({ "0000006", 1, 1 }));
        QVERIFY(table.serverUnreachable());
        QVERIFY(!table.commit());
        table.rollback();
        QCOMPARE(table.rowCount(), 3);
    }
};

QTEST_GUILESS_MAIN(TestTableEngines)
#include "tst_tableengines.moc"
