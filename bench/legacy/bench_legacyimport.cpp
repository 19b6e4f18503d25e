// Import of a 100,000-row radio test table of the earlier program, beside the bare
// reading of the Paradox file and the bare writing of the same rows into our table.
// Peak memory of the process is reported as peak_MB (run one benchmark at a time
// with --benchmark_filter for a figure of that one alone).
#include "legacyfixtures.h"

#include "legacy/legacyimport.h"
#include "legacy/paradoxtable.h"
#include "records/databasetable.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

constexpr int Rows = 100000;

class SilentView final : public LegacyImportView
{
public:
    bool progress(const QString &, qint64, qint64) override { return true; }
    void writing() override { }
    int chooseCodePage(const QString &) override { return 866; }
    bool confirm(const QString &) override { return true; }
    void showSummary(const QString &, bool) override { }
};

QVariantList radioTestRow(int i)
{
    static const QList<QVariantList> samples = SampleRows(Test23Schema());
    QVariantList row = samples.at(i % samples.size());
    row[0] = QDate(2005, 1, 1).addDays(i / 40);
    row[1] = QTime(0, 0).addMSecs((i * 8641) % (24 * 3600 * 1000));
    return row;
}

// The old table, written once for all benchmarks.
const QString &oldFolder()
{
    static QTemporaryDir dir;
    static const bool written
        = WriteParadoxTable(QFile::encodeName(dir.filePath(QStringLiteral("Test23.DB"))),
            ParadoxLayout(Test23Schema()), Rows, radioTestRow, 866);
    static const QString path = written ? dir.path() : QString();
    return path;
}

void reportPeak(benchmark::State &state)
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = double(usage.ru_maxrss) / 1024.0;
}

void BM_ImportRadioTests(benchmark::State &state)
{
    const QList<LegacyTableFile> files = FindLegacyTableFiles(oldFolder());
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir tables;
        state.ResumeTiming();
        SilentView view;
        const LegacyImportResult result = ImportLegacyTables(files, DatabaseLocation { tables.path(), {} }, view);
        if (!result.succeeded() || result.tables.at(0).added != Rows) {
            state.SkipWithError("import failed");
        }
    }
    state.SetItemsProcessed(state.iterations() * Rows);
    reportPeak(state);
}

void BM_ReadParadoxOnly(benchmark::State &state)
{
    const QByteArray path = QFile::encodeName(oldFolder() + QStringLiteral("/Test23.DB"));
    for (auto _ : state) {
        ParadoxTable table;
        table.open(path, QStringLiteral("Test23.DB"));
        table.setTextCodePage(866);
        QVariantList values;
        for (int i = 0; i < table.recordCount(); ++i) {
            table.readRecord(i, &values);
        }
        benchmark::DoNotOptimize(values);
    }
    state.SetItemsProcessed(state.iterations() * Rows);
    reportPeak(state);
}

void BM_AppendRowsOnly(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir tables;
        state.ResumeTiming();
        DatabaseTable table(tables.path(), Test23Schema());
        table.open(DatabaseTable::OpenMode::OpenOrCreate);
        table.beginTransaction();
        for (int i = 0; i < Rows; ++i) {
            table.append(radioTestRow(i));
        }
        table.commit();
    }
    state.SetItemsProcessed(state.iterations() * Rows);
    reportPeak(state);
}

} // namespace

BENCHMARK(BM_ImportRadioTests)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadParadoxOnly)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AppendRowsOnly)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
