// The radio test browser over a million recorded rows: opening, a date range, a
// locomotive, scrolling to the end, selecting everything for a report, and the
// peak memory of the process, on SQLite (server:0) and on a PostgreSQL server
// (server:1) in the same run. The BM_Bare cases are the engine alone on the same
// file, doing the least the browser must: the count and the first page on open,
// the count of the rows of a locomotive for that criterion.
#include "millionrowtable.h"
#include "records/resultbrowser.h"
#include "reports/reportrows.h"
#include "throwawaycluster.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

using MillionRows::Locomotives;
using MillionRows::Rows;
using MillionRows::RowsPerDay;
const auto MillionRowTable = MillionRows::Table;

double PeakMegabytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

QSqlDatabase OpenServer(const ServerAddress &server, const QString &name)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    db.setHostName(server.host);
    db.setPort(server.port);
    db.setDatabaseName(server.database);
    db.setUserName(server.user);
    db.open();
    return db;
}

// The same million rows in a PostgreSQL database on a cluster of the benchmark's own,
// durable as a workshop's server is.
const DatabaseLocation &MillionRowServerTable()
{
    static ThrowawayCluster cluster(true);
    static const DatabaseLocation location = [] {
        DatabaseLocation made(MillionRowTable());
        if (!cluster.isRunning()) {
            return DatabaseLocation();
        }
        made.server = cluster.newDatabase();
        {
            DatabaseTable table(made, Test23Schema());
            if (!table.open(DatabaseTable::OpenMode::OpenOrCreate)) {
                return DatabaseLocation();
            }
        }
        QStringList fields;
        for (const FieldDef &field : Test23Schema().fields) {
            fields.append(QuotedIdentifier(field.name));
        }
        bool ok = false;
        {
            QSqlDatabase db = OpenServer(made.server, "fill");
            QSqlQuery q(db);
            ok = q.exec(QStringLiteral(
                     "INSERT INTO \"Test23\" (%1) SELECT date '2024-01-01' + i / %3, "
                     "time '08:00' + (i % %3) * 30 * interval '1 second', 'Тест 2', "
                     "'От ТЕЛВ', '9316', '1234', lpad((i % %4)::text, 7, '0'), 'Норма', "
                     "'0000000', '10', '11', '12', 'Норма:4', '05', '0', '00', '11111', "
                     "'00000', '10101' FROM generate_series(0, %2 - 1) AS i")
                         .arg(fields.join(u','))
                         .arg(Rows)
                         .arg(RowsPerDay)
                         .arg(Locomotives))
                && q.exec("VACUUM ANALYZE \"Test23\"");
        }
        QSqlDatabase::removeDatabase("fill");
        return ok ? made : DatabaseLocation();
    }();
    return location;
}

// The million rows on SQLite (engine 0) or on the server (engine 1).
DatabaseLocation MillionRows(benchmark::State &state)
{
    const DatabaseLocation location
        = state.range(0) ? MillionRowServerTable() : DatabaseLocation(MillionRowTable());
    if (location.directory.isEmpty()) {
        state.SkipWithError("no table");
    }
    return location;
}

// A month from the middle: 30,000 rows.
const BrowserCriteria::DayRange Month { QDate(2024, 1, 1).addDays(485),
    QDate(2024, 1, 1).addDays(514) };

// Opening the browser over the whole table, as its window does on show.
void BM_OpenMillionRows(benchmark::State &state)
{
    const DatabaseLocation location = MillionRows(state);
    for (auto _ : state) {
        ResultBrowser browser(location, RadioTestBrowserDisplay());
        if (!browser.open() || browser.model().rowCount() != Rows) {
            state.SkipWithError("failed");
            break;
        }
    }
    state.counters["peak_rss_MB"] = PeakMegabytes();
}
BENCHMARK(BM_OpenMillionRows)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("server")
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// The engine alone, on a connection kept open: the count of the rows that pass a
// condition, and with no condition the first page as the grid shows it.
void BM_BareCount(benchmark::State &state)
{
    const bool loko = state.range(1) != 0;
    const DatabaseLocation location = MillionRows(state);
    if (location.directory.isEmpty()) {
        return;
    }
    {
        QSqlDatabase db;
        if (location.onServer()) {
            db = OpenServer(location.server, "bare");
        } else {
            db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "bare");
            db.setDatabaseName(QDir(location.directory).filePath(Test23Schema().fileName));
            db.open();
        }
        if (!db.isOpen()) {
            state.SkipWithError("no connection");
        }
        for (auto _ : state) {
            QSqlQuery count(db);
            count.prepare(loko ? "SELECT count(*) FROM \"Test23\" WHERE \"Loko\" = ?"
                               : "SELECT count(*) FROM \"Test23\"");
            if (loko) {
                count.addBindValue(PadLocomotiveNumber("4321"));
            }
            if (!count.exec() || !count.next()) {
                state.SkipWithError("failed");
                break;
            }
            state.counters["rows"] = count.value(0).toInt();
            if (!loko) {
                QSqlQuery page(db);
                page.setForwardOnly(true);
                page.exec(QStringLiteral("SELECT rowid, * FROM \"Test23\" ORDER BY rowid LIMIT %1")
                              .arg(PagedTableModel::PageRows));
                while (page.next()) {
                    benchmark::DoNotOptimize(page.value(6));
                }
            }
        }
    }
    QSqlDatabase::removeDatabase("bare");
}
BENCHMARK(BM_BareCount)
    ->ArgsProduct({ { 0, 1 }, { 0, 1 } })
    ->ArgNames({ "server", "loko" })
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

void BM_ApplyCriteria(benchmark::State &state)
{
    const bool days = state.range(1) & 1;
    const bool loko = state.range(1) & 2;
    const DatabaseLocation location = MillionRows(state);
    ResultBrowser browser(location, RadioTestBrowserDisplay());
    if (location.directory.isEmpty() || !browser.open()) {
        state.SkipWithError("no table");
        return;
    }
    BrowserCriteria criteria;
    if (days) {
        criteria.days = Month;
    }
    if (loko) {
        criteria.locomotive = PadLocomotiveNumber("4321");
    }
    for (auto _ : state) {
        if (!browser.setCriteria(criteria)) {
            state.SkipWithError("failed");
            break;
        }
        benchmark::DoNotOptimize(browser.model().data(browser.model().index(0, 6)));
    }
    state.counters["rows"] = browser.model().rowCount();
    state.counters["peak_rss_MB"] = PeakMegabytes();
}
BENCHMARK(BM_ApplyCriteria)
    ->ArgsProduct({ { 0, 1 }, { 1, 2, 3 } })
    ->ArgNames({ "server", "days1_loko2" })
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// A grid over the whole table jumps to its last row and paints it.
void BM_ScrollGridToTheEnd(benchmark::State &state)
{
    const DatabaseLocation location = MillionRows(state);
    ResultBrowser browser(location, RadioTestBrowserDisplay());
    if (location.directory.isEmpty() || !browser.open()) {
        state.SkipWithError("no table");
        return;
    }
    QTableView view;
    view.resize(557, 300);
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(18);
    view.setModel(&browser.model());
    view.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        view.scrollToTop();
        view.grab();
        view.scrollToBottom();
        view.grab();
        const QModelIndex last = browser.model().index(Rows - 1, 6);
        if (browser.model().data(last).toString()
            != QStringLiteral("%1").arg((Rows - 1) % Locomotives, 7, 10, QChar(u'0'))) {
            state.SkipWithError("wrong last row");
            break;
        }
    }
    state.counters["peak_rss_MB"] = PeakMegabytes();
}
BENCHMARK(BM_ScrollGridToTheEnd)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("server")
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// Ctrl+A over the whole table: the rowids of every row, as a "Выделенные" report or
// "Удалить выделенное" takes them.
void BM_RowIdsOfAllRowsSelected(benchmark::State &state)
{
    const QString &directory = MillionRowTable();
    ResultBrowser browser(directory, RadioTestBrowserDisplay());
    if (directory.isEmpty() || !browser.open()) {
        state.SkipWithError("no table");
        return;
    }
    for (auto _ : state) {
        QList<qint64> ids;
        if (!browser.rowIds({ { 0, Rows - 1 } }, &ids) || ids.size() != Rows) {
            state.SkipWithError("failed");
            break;
        }
    }
    state.counters["peak_rss_MB"] = PeakMegabytes();
}
BENCHMARK(BM_RowIdsOfAllRowsSelected)->Iterations(3)->Unit(benchmark::kMillisecond);

// The rows of a month's report walked from the table, as the report engine takes them.
void BM_WalkMonthReportRows(benchmark::State &state)
{
    const QString &directory = MillionRowTable();
    ResultBrowser browser(directory, RadioTestBrowserDisplay());
    if (directory.isEmpty() || !browser.open() || !browser.setCriteria({ Month, std::nullopt })) {
        state.SkipWithError("no table");
        return;
    }
    for (auto _ : state) {
        const auto rows = browser.reportRows();
        QStringList values;
        int count = 0;
        while (rows->next(values)) {
            ++count;
        }
        state.counters["rows"] = count;
    }
    state.counters["peak_rss_MB"] = PeakMegabytes();
}
BENCHMARK(BM_WalkMonthReportRows)->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    MillionRowTable();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
