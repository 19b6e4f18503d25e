// Several stations recording into one server that is stopped and started again
// while they record: every result is there once, each station's in its order.
#include "bytes.h"
#include "fakeclock.h"
#include "fakemessages.h"
#include "programfixture.h"
#include "throwawaycluster.h"

#include "console/messagegrid.h"
#include "records/databasetable.h"
#include "records/resultrecorder.h"
#include "records/rvlocalcopy.h"
#include "records/serverpresence.h"
#include "records/tableschema.h"
#include "shared/currentnumbers.h"
#include "shared/measurements.h"
#include "shared/stationparameters.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTableWidget>
#include <QTest>

#include <future>

namespace {

// One PC: its own tables directory (and outbox), its own recorder.
struct Station
{
    Station(const ServerAddress &server, FakeClock &clock)
        : recorder({ dir.path(), server }, parameters, numbers, measurements, flags, clock,
              messages)
    { }

    QTemporaryDir dir;
    StationParameters parameters;
    CurrentNumbers numbers;
    Measurements measurements;
    BandMessages flags;
    FakeMessages messages;
    ResultRecorder recorder;
};

} // namespace

class TestStationsOnServer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The whole program on a server that stops: the station's attenuation request
    // is answered from the PC's copy, a result is kept and the grid says so, and
    // says again when the server, found back, has it.
    void theProgramGoesOnWhenTheServerStops()
    {
        ThrowawayCluster cluster;
        QVERIFY2(cluster.isRunning(), qPrintable(cluster.errorText()));
        const ServerAddress server = cluster.newDatabase();
        ProgramFixture f(server);
        QCOMPARE(f.messages.errors, QStringList());
        {
            DatabaseTable otherPc({ f.databaseDirectory(), server }, RvSchema());
            qint64 id = 0;
            QVERIFY(otherPc.open(DatabaseTable::OpenMode::ExistingOnly));
            QVERIFY(otherPc.insert({ "1234567", 12, 7 }, &id));
        }
        f.clock.advance(RvLocalCopy::RefreshIntervalMs);
        QVERIFY(cluster.stop());

        f.context().station.numbers.LocoNumber = "1234567";
        f.takeSent();
        f.receive(Bytes("CC"));
        QCOMPARE(f.takeSent(), Bytes("F4 80 80 80 80 81 82 80 87 F5"));

        const auto lastLine = [&] {
            return f.ui().StringGrid1->item(f.form().grid().lineCount() - 1, 2)->text();
        };
        QVERIFY(f.context().recorder.WriteToTable1("Запись", {}, {}));
        QCOMPARE(lastLine(), "Результат сохранён на этом ПК и будет передан на сервер");
        QCOMPARE(f.messages.errors, QStringList());

        QVERIFY(cluster.start());
        f.clock.advance(ServerPresence::ProbeIntervalMs);
        QTRY_COMPARE(lastLine(), "Результаты, сохранённые на этом ПК, переданы на сервер: 1");
        DatabaseTable results({ f.databaseDirectory(), server }, Tests1Schema());
        QVERIFY(results.open(DatabaseTable::OpenMode::ExistingOnly));
        QCOMPARE(results.rowCount(), 1);
    }

    void everyResultOnceWhenTheServerRestartsMidway()
    {
        constexpr int Stations = 4;
        constexpr int Rounds = 60;
        ThrowawayCluster cluster;
        QVERIFY2(cluster.isRunning(), qPrintable(cluster.errorText()));
        const ServerAddress server = cluster.newDatabase();
        FakeClock clock;
        std::vector<std::unique_ptr<Station>> stations;
        std::vector<std::unique_ptr<QSignalSpy>> notices;
        for (int s = 0; s < Stations; ++s) {
            stations.push_back(std::make_unique<Station>(server, clock));
            notices.push_back(std::make_unique<QSignalSpy>(
                &stations.back()->recorder.outbox(), &ResultOutbox::notice));
        }

        std::future<bool> stopped;
        for (int round = 0; round < Rounds; ++round) {
            // The server goes down while the stations write, not between two writes.
            if (round == Rounds / 4) {
                stopped = std::async(std::launch::async, [&] { return cluster.stop(); });
            }
            if (round == Rounds / 2) {
                QVERIFY(stopped.get());
                clock.advance(ResultOutbox::RetryIntervalMs);
                QVERIFY(cluster.start());
            }
            for (int s = 0; s < Stations; ++s) {
                Station &station = *stations[s];
                station.numbers.TrainNumber = QString::number(round);
                station.numbers.LocoNumber = QString::number(s);
                QVERIFY2(station.recorder.WriteToTable2("Тест 2", "0000000", "Норма", "От ТЕЛВ"),
                    qPrintable(station.recorder.outbox().errorText()));
                QVERIFY2(station.messages.errors.isEmpty(),
                    qPrintable(station.messages.errors.join('\n')));
            }
            clock.advance(1000);
        }
        // What is still kept goes with the next retry.
        clock.advance(ResultOutbox::RetryIntervalMs);

        int kept = 0;
        int passedOn = 0;
        for (int s = 0; s < Stations; ++s) {
            QCOMPARE(stations[s]->recorder.outbox().keptRows(), 0);
            for (const QList<QVariant> &signal : std::as_const(*notices[s])) {
                const QString text = signal.first().toString();
                kept += text == ResultOutbox::keptText();
                const QString prefix = ResultOutbox::passedOnText(0).chopped(1);
                passedOn += text.startsWith(prefix) ? text.mid(prefix.size()).toInt() : 0;
            }
        }
        QVERIFY2(kept > 0, "the server was never found down");
        QCOMPARE(passedOn, kept);

        DatabaseTable table({ stations.front()->dir.path(), server }, Test23Schema());
        QList<TableRow> rows;
        QVERIFY(table.open(DatabaseTable::OpenMode::ExistingOnly));
        QVERIFY(table.readAll(&rows));
        QCOMPARE(rows.size(), Stations * Rounds);
        const int loco = Test23Schema().fieldIndex("Loko");
        const int train = Test23Schema().fieldIndex("Train");
        QList<int> next(Stations, 0);
        for (const TableRow &row : std::as_const(rows)) {
            const int s = row.values.at(loco).toInt();
            QCOMPARE(row.values.at(train).toInt(), next[s]++);
        }
        qInfo("%d of %d results kept on the PCs while the server was down", kept,
            Stations * Rounds);
    }
};

QTEST_MAIN(TestStationsOnServer)
#include "tst_stationsonserver.moc"
