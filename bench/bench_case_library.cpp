// The case library with 100,000 cases: backup, export, import of that export into an empty
// database, and deleting one case.
#include "seeded_cases.h"
#include "store/case_store.h"
#include "store/case_transfer.h"
#include "store/database_backup.h"

#include <benchmark/benchmark.h>
#include <QFile>
#include <QTemporaryDir>

namespace {

using bench::shared;

QTemporaryDir& workDir() {
    static QTemporaryDir dir;
    return dir;
}

QString exportFile() { return workDir().filePath(QStringLiteral("cases.jsonl")); }

void BM_Backup(benchmark::State& state) {
    const QString target = workDir().filePath(QStringLiteral("backup.db"));
    store::Database& db = *shared().db;  // filled here, outside the timing
    for (auto _ : state) store::backupDatabase(db, target);
    state.counters["MB"] = QFile(target).size() / 1e6;
}
BENCHMARK(BM_Backup)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Export(benchmark::State& state) {
    qint64 count = 0;
    for (auto _ : state) {
        QFile file(exportFile());
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        count = store::exportCases(*shared().db, {}, file);
    }
    state.counters["cases"] = static_cast<double>(count);
    state.counters["MB"] = QFile(exportFile()).size() / 1e6;
}
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportIntoEmptyDatabase(benchmark::State& state) {
    if (!QFile::exists(exportFile())) {
        QFile file(exportFile());
        file.open(QIODevice::WriteOnly);
        store::exportCases(*shared().db, {}, file);
    }
    int round = 0;
    qint64 added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto db = store::Database::open(workDir().filePath(QStringLiteral("import%1/qinglan.db").arg(++round)));
        QFile file(exportFile());
        file.open(QIODevice::ReadOnly);
        state.ResumeTiming();
        added = store::importCases(*db, file, store::ImportMode::AllOrNothing).added;
    }
    state.counters["added"] = static_cast<double>(added);
}
BENCHMARK(BM_ImportIntoEmptyDatabase)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_DeleteOneCase(benchmark::State& state) {
    store::CaseHistory history;
    store::CaseStore cases(*shared().db, history);
    qint64 id = 50000;
    for (auto _ : state) benchmark::DoNotOptimize(cases.deleteCase(++id));
}
BENCHMARK(BM_DeleteOneCase)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace
