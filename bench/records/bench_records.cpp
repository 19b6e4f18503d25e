// Append latency of the result tables, a result's cost while the server is away,
// and paging through a large table with a date filter, as the result browsers will.
#include "locallistener.h"
#include "records/databasetable.h"
#include "records/resultrecorder.h"
#include "records/serverpresence.h"
#include "shared/clock.h"
#include "shared/currentnumbers.h"
#include "shared/measurements.h"
#include "shared/operatormessages.h"
#include "shared/stationparameters.h"
#include "throwawaycluster.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <vector>

namespace {

using SteadyClock = std::chrono::steady_clock;

QVariantList test23Row(qint64 i)
{
    QVariantList row { QDate::currentDate(), QTime::currentTime(), "Тест 2", "От ТЕЛВ", "9316",
        "1234", QString::number(i), "Норма", "0000000" };
    while (row.size() < Test23Schema().fields.size()) {
        row.append(QStringLiteral("00"));
    }
    return row;
}

// Median and worst of the per-call times, in microseconds.
void reportLatency(benchmark::State &state, std::vector<double> &micros)
{
    if (micros.empty()) {
        return;
    }
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    state.counters["worst_us"] = micros.back();
}

template<typename Call> void timeEachCall(benchmark::State &state, Call call)
{
    std::vector<double> micros;
    for (auto _ : state) {
        const auto start = SteadyClock::now();
        if (!call()) {
            state.SkipWithError("call failed");
            break;
        }
        micros.push_back(
            std::chrono::duration<double, std::micro>(SteadyClock::now() - start).count());
    }
    reportLatency(state, micros);
}

// A directory for SQLite files (engine 0), or with it a fresh database on a
// cluster of the benchmark's own, durable as a workshop's server is (engine 1).
DatabaseLocation Tables(benchmark::State &state, const QTemporaryDir &dir)
{
    DatabaseLocation location(dir.path());
    if (state.range(0)) {
        static ThrowawayCluster cluster(true);
        if (!cluster.isRunning()) {
            state.SkipWithError(qPrintable(cluster.errorText()));
        }
        location.server = cluster.newDatabase();
    }
    return location;
}

// One durable append to a table that stays open.
void BM_AppendToOpenTable(benchmark::State &state)
{
    QTemporaryDir dir;
    DatabaseTable table(Tables(state, dir), Test23Schema());
    if (!table.open(DatabaseTable::OpenMode::OpenOrCreate)) {
        state.SkipWithError(qPrintable(table.errorText()));
        return;
    }
    qint64 i = 0;
    timeEachCall(state, [&] { return table.append(test23Row(++i)); });
}
BENCHMARK(BM_AppendToOpenTable)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("server")
    ->Iterations(1000)
    ->Unit(benchmark::kMicrosecond);

class SilentMessages final : public OperatorMessages
{
public:
    void showError(const QString &) override { }
    Answer ask(const QString &, bool) override { return Answer::Cancel; }
};

// The recorder's whole path: open (header and layout check, or on the server a new
// connection and the layout check), append (on the server with its receipt), close.
void BM_RecordRadioTestRow(benchmark::State &state)
{
    QTemporaryDir dir;
    const DatabaseLocation tables = Tables(state, dir);
    StationParameters parameters;
    CurrentNumbers numbers;
    Measurements measurements;
    BandMessages flags;
    SystemClock clock;
    SilentMessages messages;
    ResultRecorder recorder(tables, parameters, numbers, measurements, flags, clock, messages);
    timeEachCall(
        state, [&] { return recorder.WriteToTable2("Тест 2", "0000000", "Норма", "От ТЕЛВ"); });
}
BENCHMARK(BM_RecordRadioTestRow)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("server")
    ->Iterations(1000)
    ->Unit(benchmark::kMicrosecond);

// The recorder's whole path while the server's host drops every packet (a port
// whose backlog is full), after the first result has found it so: without the
// server's presence (presence 0) every result waits out the connection time limit
// on the GUI thread; with it (presence 1) the result goes to the outbox at once.
void BM_RecordWhileTheServerDropsPackets(benchmark::State &state)
{
    LocalListener silent = LocalListener::tcp();
    if (!silent.listenFull()) {
        state.SkipWithError("no listening socket");
        return;
    }
    QTemporaryDir dir;
    const DatabaseLocation tables(dir.path(), { "127.0.0.1", silent.port(), "telv", "telv" });
    SystemClock clock;
    std::optional<ServerPresence> presence;
    if (state.range(0)) {
        presence.emplace(tables.server, clock);
    }
    StationParameters parameters;
    CurrentNumbers numbers;
    Measurements measurements;
    BandMessages flags;
    SilentMessages messages;
    ResultRecorder recorder(tables, parameters, numbers, measurements, flags, clock, messages);
    const auto record
        = [&] { return recorder.WriteToTable2("Тест 2", "0000000", "Норма", "От ТЕЛВ"); };
    record();
    timeEachCall(state, record);
}
BENCHMARK(BM_RecordWhileTheServerDropsPackets)
    ->Arg(0)
    ->ArgName("presence")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordWhileTheServerDropsPackets)
    ->Arg(1)
    ->ArgName("presence")
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond);

// A million rows over 1000 days, 1000 a day, made in one transaction.
class MillionRows
{
public:
    static constexpr int Rows = 1000000;
    static constexpr int RowsPerDay = 1000;

    MillionRows()
    {
        {
            DatabaseTable table(m_dir.path(), Test23Schema());
            m_ok = table.open(DatabaseTable::OpenMode::OpenOrCreate);
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "fill");
            db.setDatabaseName(m_dir.filePath(Test23Schema().fileName));
            m_ok = m_ok && db.open();
            QSqlQuery q(db);
            m_ok = m_ok && q.exec("BEGIN")
                && q.exec(QStringLiteral(
                    "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n "
                    "WHERE i + 1 < %1) "
                    "INSERT INTO Test23 SELECT date('2024-01-01', '+' || (i / %2) || "
                    "' days'), '12:00:00.000', 'Тест 2', 'От ТЕЛВ', '9316', '1234', "
                    "printf('%07d', i % 5000), 'Норма', '0000000', '10', '11', '12', "
                    "'Норма:4', '05', '0', '00', '11111', '00000', '10101' FROM n")
                              .arg(Rows)
                              .arg(RowsPerDay))
                && q.exec("COMMIT");
        }
        QSqlDatabase::removeDatabase("fill");
    }

    bool ok() const { return m_ok; }
    QString directory() const { return m_dir.path(); }

    static MillionRows &instance()
    {
        static MillionRows rows;
        return rows;
    }

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
};

// 30 days from the middle of the table: 30000 rows, read 100 rows a page by rowid.
const RowFilter MonthInTheMiddle { QDate(2024, 1, 1).addDays(485), QDate(2024, 1, 1).addDays(514) };

void BM_PageThroughDateFilter(benchmark::State &state)
{
    MillionRows &rows = MillionRows::instance();
    DatabaseTable table(rows.directory(), Test23Schema());
    if (!rows.ok() || !table.open(DatabaseTable::OpenMode::ExistingOnly)) {
        state.SkipWithError("no table");
        return;
    }
    const int pageSize = int(state.range(0));
    std::vector<double> pageMicros;
    qint64 rowsRead = 0;
    for (auto _ : state) {
        qint64 after = 0;
        QList<TableRow> page;
        do {
            const auto start = SteadyClock::now();
            table.readPage(MonthInTheMiddle, after, pageSize, &page);
            pageMicros.push_back(
                std::chrono::duration<double, std::micro>(SteadyClock::now() - start).count());
            if (!page.isEmpty()) {
                after = page.last().rowid;
            }
            rowsRead += page.size();
        } while (!page.isEmpty());
    }
    state.counters["rows"] = double(rowsRead) / double(state.iterations());
    reportLatency(state, pageMicros);
}
BENCHMARK(BM_PageThroughDateFilter)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_FirstPageOfDateFilter(benchmark::State &state)
{
    MillionRows &rows = MillionRows::instance();
    DatabaseTable table(rows.directory(), Test23Schema());
    if (!rows.ok() || !table.open(DatabaseTable::OpenMode::ExistingOnly)) {
        state.SkipWithError("no table");
        return;
    }
    QList<TableRow> page;
    for (auto _ : state) {
        table.readPage(MonthInTheMiddle, 0, 100, &page);
        benchmark::DoNotOptimize(page.size());
    }
}
BENCHMARK(BM_FirstPageOfDateFilter)->Unit(benchmark::kMillisecond);

void BM_CountDateFilter(benchmark::State &state)
{
    MillionRows &rows = MillionRows::instance();
    DatabaseTable table(rows.directory(), Test23Schema());
    if (!rows.ok() || !table.open(DatabaseTable::OpenMode::ExistingOnly)) {
        state.SkipWithError("no table");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.rowCount(MonthInTheMiddle));
    }
}
BENCHMARK(BM_CountDateFilter)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
