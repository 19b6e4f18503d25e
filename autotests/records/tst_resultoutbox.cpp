// Results kept on the PC while the server does not answer, and sent exactly once, in
// order, when it does; on a cluster the test starts and stops itself.
#include "fakeclock.h"
#include "rawconnection.h"
#include "resulttables.h"
#include "throwawaycluster.h"

#include "records/resultoutbox.h"
#include "records/tableschema.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

using namespace ResultTables;
using Delivery = ResultOutbox::Delivery;
using Mode = DatabaseTable::OpenMode;

namespace {

QVariantList RadioTest(int number)
{
    QVariantList row = RadioTestRow(QDate(2026, 12, 11), "0000001");
    row[Test23Schema().fieldIndex("Train")] = QString::number(number);
    return row;
}

QVariantList SelfTest(int number)
{
    return SelfTestRow(QDate(2026, 12, 11), QString::number(number));
}

// One field of every row of a table on the server, in the order of writing.
QStringList Column(const DatabaseLocation &location, const TableSchema &schema, const QString &field)
{
    DatabaseTable table(location, schema);
    QList<TableRow> rows;
    if (!table.open(Mode::ExistingOnly) || !table.readAll(&rows)) {
        return { "<" + table.errorText() + ">" };
    }
    QStringList values;
    for (const TableRow &row : std::as_const(rows)) {
        values.append(row.values.at(schema.fieldIndex(field)).toString());
    }
    return values;
}

QStringList Notices(const QSignalSpy &spy)
{
    QStringList texts;
    for (const QList<QVariant> &signal : spy) {
        texts.append(signal.first().toString());
    }
    return texts;
}

} // namespace

class TestResultOutbox : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<ThrowawayCluster> m_cluster;
    std::list<QTemporaryDir> m_dirs;

    DatabaseLocation freshServer()
    {
        return { m_dirs.emplace_back().path(), m_cluster->newDatabase() };
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_cluster = std::make_unique<ThrowawayCluster>();
        QVERIFY2(m_cluster->isRunning(), qPrintable(m_cluster->errorText()));
    }

    void init()
    {
        if (!m_cluster->isRunning()) {
            QVERIFY(m_cluster->start());
        }
    }

    // Rows of both tables kept while the server is down go out in their order, each
    // once, before the next new row; the grid hears of both.
    void keptRowsGoOutInOrderBeforeTheNextOne()
    {
        const DatabaseLocation location = freshServer();
        FakeClock clock;
        ResultOutbox outbox(location, clock);
        QSignalSpy notices(&outbox, &ResultOutbox::notice);
        QCOMPARE(outbox.deliver(Test23Schema(), RadioTest(1)), Delivery::Written);

        QVERIFY(m_cluster->stop());
        QCOMPARE(outbox.deliver(Test23Schema(), RadioTest(2)), Delivery::Kept);
        QCOMPARE(outbox.deliver(Tests1Schema(), SelfTest(3)), Delivery::Kept);
        QCOMPARE(outbox.deliver(Test23Schema(), RadioTest(4)), Delivery::Kept);
        QCOMPARE(outbox.keptRows(), 3);
        QCOMPARE(Notices(notices), QStringList(3, ResultOutbox::keptText()));
        QCOMPARE(ResultOutbox::keptText(), "Результат сохранён на этом ПК и будет передан на сервер");
        notices.clear();

        QVERIFY(m_cluster->start());
        QCOMPARE(outbox.deliver(Test23Schema(), RadioTest(5)), Delivery::Written);
        QCOMPARE(Notices(notices), QStringList { ResultOutbox::passedOnText(3) });
        QCOMPARE(outbox.keptRows(), 0);
        QCOMPARE(Column(location, Test23Schema(), "Train"), (QStringList { "1", "2", "4", "5" }));
        QCOMPARE(Column(location, Tests1Schema(), "Mehanik"), QStringList { "3" });
        RawConnection server(location);
        QCOMPARE(server.value("SELECT count(*) FROM \"Receipts\""), "5");
        QCOMPARE(RawConnection(location.directory + "/Outbox.db").value("SELECT count(*) FROM \"Outbox\""), "0");
    }

    // With no new result, the retry timer sends the kept rows once the server is
    // back; it stops when nothing is left.
    void retryTimerSendsKeptRows()
    {
        const DatabaseLocation location = freshServer();
        FakeClock clock;
        ResultOutbox outbox(location, clock);
        QSignalSpy notices(&outbox, &ResultOutbox::notice);
        QVERIFY(m_cluster->stop());
        QCOMPARE(outbox.deliver(Test23Schema(), RadioTest(1)), Delivery::Kept);
        clock.advance(ResultOutbox::RetryIntervalMs);
        QCOMPARE(outbox.keptRows(), 1);
        QVERIFY(m_cluster->start());
        clock.advance(ResultOutbox::RetryIntervalMs - 1);
        QCOMPARE(outbox.keptRows(), 1);
        clock.advance(1);
        QCOMPARE(outbox.keptRows(), 0);
        QCOMPARE(Notices(notices).last(), ResultOutbox::passedOnText(1));
        QCOMPARE(clock.activeTimers(), 0);
        QCOMPARE(Column(location, Test23Schema(), "Train"), QStringList { "1" });
    }

    // A table the server refuses (another layout) is an error for the operator, not
    // a row to keep: nothing goes into the outbox.
    void refusedRowIsNotKept()
    {
        const DatabaseLocation location = freshServer();
        RawConnection(location).exec("CREATE TABLE \"Test23\" (\"Date\" date)");
        FakeClock clock;
        ResultOutbox outbox(location, clock);
        QCOMPARE(outbox.deliver(Test23Schema(), RadioTest(1)), Delivery::Failed);
        QVERIFY2(outbox.errorText().contains("Test23"), qPrintable(outbox.errorText()));
        QCOMPARE(outbox.keptRows(), 0);
        QVERIFY(!QFile::exists(location.directory + "/Outbox.db"));
    }

    // The program stopped after the server committed a kept row and before the row
    // left the outbox: at the next start the row is sent again and the server,
    // knowing its receipt, does not write it twice.
    void rowSentAgainAfterAStopIsWrittenOnce()
    {
        const DatabaseLocation location = freshServer();
        FakeClock clock;
        {
            ResultOutbox before(location, clock);
            QVERIFY(m_cluster->stop());
            QCOMPARE(before.deliver(Test23Schema(), RadioTest(7)), Delivery::Kept);
            QVERIFY(m_cluster->start());
        }
        // What the stopped program had committed on the server under the receipt.
        const QString receipt = RawConnection(location.directory + "/Outbox.db")
                                    .value("SELECT \"Receipt\" FROM \"Outbox\"");
        QVERIFY(!QUuid::fromString(receipt).isNull());
        DatabaseTable table(location, Test23Schema());
        bool alreadyThere = true;
        QVERIFY(table.open(Mode::OpenOrCreate));
        QVERIFY2(table.appendOnce(RadioTest(7), receipt, &alreadyThere), qPrintable(table.errorText()));
        QVERIFY(!alreadyThere);

        ResultOutbox after(location, clock);
        QSignalSpy notices(&after, &ResultOutbox::notice);
        QCOMPARE(after.keptRows(), 1);
        QVERIFY(after.sendKept());
        QCOMPARE(Notices(notices), QStringList { ResultOutbox::passedOnText(1) });
        QCOMPARE(Column(location, Test23Schema(), "Train"), QStringList { "7" });
    }
};

QTEST_GUILESS_MAIN(TestResultOutbox)
#include "tst_resultoutbox.moc"
