// A server that does not answer holds the window up once, not at every result: the
// probe that asks without waiting, and the results and the register's copy that
// wait for it while the server is away, on a cluster the test starts and stops.
#include "fakeclock.h"
#include "locallistener.h"
#include "rawconnection.h"
#include "resulttables.h"
#include "throwawaycluster.h"

#include "records/resultoutbox.h"
#include "records/rvlocalcopy.h"
#include "records/rvregister.h"
#include "records/serverpresence.h"
#include "records/serverprobe.h"
#include "records/tableschema.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <list>
#include <optional>

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

} // namespace

class TestServerPresence : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<ThrowawayCluster> m_cluster;
    std::list<QTemporaryDir> m_dirs;

    DatabaseLocation freshServer()
    {
        return { m_dirs.emplace_back().path(), m_cluster->newDatabase() };
    }

    QString clusterSocket() const
    {
        return m_cluster->socketDirectory()
            + QStringLiteral("/.s.PGSQL.%1").arg(ThrowawayCluster::Port);
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

    void probeTellsWhetherTheServerTakesConnections_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("reachable");
        QTest::newRow("tcp, listening") << "tcp" << true;
        QTest::newRow("tcp, nobody listening") << "refused" << false;
        // localhost may name ::1 first, where nobody listens: the next address is tried.
        QTest::newRow("host name, listening") << "name" << true;
        QTest::newRow("unix socket, listening") << "unix" << true;
        QTest::newRow("unix socket, missing") << "missing" << false;
        QTest::newRow("unix socket path too long") << "long" << false;
        // Only a connection can try a list of hosts; the probe must not hold it away.
        QTest::newRow("list of hosts") << "list" << true;
    }

    void probeTellsWhetherTheServerTakesConnections()
    {
        QFETCH(QString, target);
        QFETCH(bool, reachable);
        QTemporaryDir dir;
        LocalListener tcp = LocalListener::tcp();
        std::optional<LocalListener> local;
        ServerAddress server { "127.0.0.1", tcp.port(), "telv", "telv" };
        if (target == "tcp" || target == "name") {
            QVERIFY(tcp.listen(8));
            server.host = target == "name" ? "localhost" : "127.0.0.1";
        } else if (target == "list") {
            server.host = "127.0.0.1,localhost";
        } else if (target == "unix" || target == "missing" || target == "long") {
            server.host = target == "long" ? dir.path() + "/" + QString(120, u'x') : dir.path();
            server.port = 5433;
            if (target == "unix") {
                local.emplace(LocalListener::unixSocket(dir.filePath(".s.PGSQL.5433")));
            }
        }
        FakeClock clock;
        ServerProbe probe(clock);
        QSignalSpy finished(&probe, &ServerProbe::finished);
        probe.start(server);
        QVERIFY(probe.isRunning());
        QCOMPARE(finished.count(), 0);
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toBool(), reachable);
        QVERIFY(!probe.isRunning());
        QCOMPARE(clock.activeTimers(), 0);
    }

    // A host that drops the request gives no answer at all; the probe's time limit
    // on the clock ends it as unreachable, and a probe started afresh is not
    // answered by the one dropped.
    void probeOfAHostThatDropsPacketsEndsAtItsTimeLimit()
    {
        LocalListener silent = LocalListener::tcp();
        QVERIFY(silent.listenFull());
        FakeClock clock;
        ServerProbe probe(clock);
        QSignalSpy finished(&probe, &ServerProbe::finished);
        const ServerAddress server { "127.0.0.1", silent.port(), "telv", "telv" };
        probe.start(server);
        QVERIFY(!finished.wait(300));
        probe.start(server);
        clock.advance(ServerProbe::TimeoutMs - 1);
        QCoreApplication::processEvents();
        QCOMPARE(finished.count(), 0);
        clock.advance(1);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toBool(), false);
        QCOMPARE(clock.activeTimers(), 0);
    }

    // Once a connection failed, results go to the outbox without a connection being
    // tried (a silent host would hold the window up for each), tables refuse to open
    // at once, and the 30 s retry leaves them; the probe that finds the server back
    // sends them, in their order, each once.
    void resultsWaitWithoutConnectingUntilTheProbeFindsTheServer()
    {
        const DatabaseLocation location = freshServer();
        FakeClock clock;
        ServerPresence presence(location.server, clock);
        ResultOutbox outbox(location, clock);
        QCOMPARE(outbox.deliver(Test23Schema(), RadioTest(1)), Delivery::Written);

        QVERIFY(m_cluster->stop());
        QCOMPARE(outbox.deliver(Test23Schema(), RadioTest(2)), Delivery::Kept);
        QVERIFY(presence.isAway());
        {
            LocalListener silent = LocalListener::unixSocket(clusterSocket());
            for (int number = 3; number <= 5; ++number) {
                QCOMPARE(outbox.deliver(Test23Schema(), RadioTest(number)), Delivery::Kept);
            }
            DatabaseTable browser(location, Test23Schema());
            QVERIFY(!browser.open(Mode::ExistingOnly));
            QVERIFY(browser.serverUnreachable());
            QCOMPARE(silent.takeConnections(), 0);
        }
        QCOMPARE(outbox.keptRows(), 4);

        // A probe that finds nobody leaves the server away.
        clock.advance(ServerPresence::ProbeIntervalMs);
        QCoreApplication::processEvents();
        QVERIFY(presence.isAway());

        QVERIFY(m_cluster->start());
        QSignalSpy returned(&presence, &ServerPresence::returned);
        clock.advance(ServerPresence::ProbeIntervalMs);
        QTRY_COMPARE(returned.count(), 1);
        QVERIFY(!presence.isAway());
        QCOMPARE(outbox.keptRows(), 0);
        DatabaseTable written(location, Test23Schema());
        QList<TableRow> rows;
        QVERIFY(written.open(Mode::ExistingOnly) && written.readAll(&rows));
        QStringList trains;
        for (const TableRow &row : std::as_const(rows)) {
            trains.append(row.values.at(Test23Schema().fieldIndex("Train")).toString());
        }
        QCOMPARE(trains, (QStringList { "1", "2", "3", "4", "5" }));
        QCOMPARE(RawConnection(location).value("SELECT count(*) FROM \"Receipts\""), "5");
    }

    // The register's copy, open on a connection of its own, does not read the server
    // while it is away, and follows it as soon as the probe finds it back.
    void registerCopyRefreshesWhenTheServerIsBack()
    {
        const DatabaseLocation location = freshServer();
        FakeClock clock;
        ServerPresence presence(location.server, clock);
        RvRegister onServer(location);
        QVERIFY2(onServer.open(), qPrintable(onServer.errorText()));
        RvLocalCopy copy(onServer, clock);
        QVERIFY2(copy.refresh(), qPrintable(copy.errorText()));

        QVERIFY(m_cluster->stop());
        QVERIFY(!copy.refresh());
        QVERIFY(presence.isAway());
        {
            LocalListener silent = LocalListener::unixSocket(clusterSocket());
            QVERIFY(!copy.refresh());
            QCOMPARE(silent.takeConnections(), 0);
        }
        QVERIFY(m_cluster->start());
        QVERIFY(RawConnection(location).exec(
            "INSERT INTO \"РВ\" (\"Lokomotiv\", \"OslablenieM\", \"OslablenieG\") "
            "VALUES ('1234567', 12, 7)"));
        QSignalSpy returned(&presence, &ServerPresence::returned);
        clock.advance(ServerPresence::ProbeIntervalMs);
        QTRY_COMPARE(returned.count(), 1);
        const AttenuationLookup::Result found = copy.find("1234567");
        QCOMPARE(found.outcome, AttenuationLookup::Outcome::Found);
        QCOMPARE(found.corrections.mv, 12);
    }
};

QTEST_GUILESS_MAIN(TestServerPresence)
#include "tst_serverpresence.moc"
