// qinglan-cli's reading commands as whole processes on a library of 100,000 cases at rest: the
// time of one run of `cases search` (keywords of one, two and four characters, frequent and
// absent), `chart` and `cases export`, next to `--version`, whose start-up every run pays.
// Counter beyond_version_ms: the run's time less --version's. $QINGLAN_CLI runs another build of
// the program instead (to compare two versions on the same library).
#include "seeded_cases.h"

#include <benchmark/benchmark.h>
#include <QElapsedTimer>
#include <QProcess>

namespace {

// The library's folder, the file closed (so at rest, on the rollback journal) once it is filled.
const QString& dataDir() {
    static const QString dir = [] {
        bench::shared().db.reset();
        return bench::shared().dir.path();
    }();
    return dir;
}

double runOnceMs(const QStringList& args) {
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.setStandardOutputFile(QProcess::nullDevice());
    static const QString program = qEnvironmentVariable("QINGLAN_CLI", QStringLiteral(QINGLAN_CLI));
    process.start(program, args);
    process.waitForFinished(-1);
    const double ms = clock.nsecsElapsed() / 1e6;
    if (process.exitCode() != 0)
        qFatal("qinglan-cli %s failed: %s", qPrintable(args.join(u' ')), process.readAllStandardError().constData());
    return ms;
}

double versionMs() {
    static const double ms = [] {
        double total = 0;
        for (int i = 0; i < 20; ++i) total += runOnceMs({QStringLiteral("--version")});
        return total / 20;
    }();
    return ms;
}

void runCommand(benchmark::State& state, const QStringList& command) {
    const QStringList args = command + QStringList{QStringLiteral("--data-dir"), dataDir()};
    const double baseline = versionMs();
    double total = 0;
    for (auto _ : state) total += runOnceMs(args);
    const double mean = total / static_cast<double>(state.iterations());
    state.counters["beyond_version_ms"] = mean - baseline;
}

void BM_Version(benchmark::State& state) {
    for (auto _ : state) runOnceMs({QStringLiteral("--version")});
}
BENCHMARK(BM_Version)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

void BM_Search(benchmark::State& state, const char* keyword) {
    runCommand(state, {QStringLiteral("cases"), QStringLiteral("search"), QString::fromUtf8(keyword)});
}
BENCHMARK_CAPTURE(BM_Search, one_character, "财")->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();
BENCHMARK_CAPTURE(BM_Search, two_characters, "面试")->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();
BENCHMARK_CAPTURE(BM_Search, four_characters, "婚姻感情")->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();
BENCHMARK_CAPTURE(BM_Search, absent, "无此关键字")->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();
BENCHMARK_CAPTURE(BM_Search, one_character_absent, "龘")->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

void BM_Chart(benchmark::State& state) {
    runCommand(state, {QStringLiteral("chart"), QStringLiteral("20240204123412")});
}
BENCHMARK(BM_Chart)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

void BM_Export(benchmark::State& state) {
    runCommand(state, {QStringLiteral("cases"), QStringLiteral("export"), QStringLiteral("-")});
}
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
