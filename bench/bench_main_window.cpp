// The main window: making and showing it over a fresh database, and a full redraw of the chart.
// Runs offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "app/chart_area.h"
#include "app/clock.h"
#include "app/main_window.h"
#include "app/prompter.h"
#include "store/data_root.h"

namespace {

void BM_StartToWindowShown(benchmark::State& bench) {
    for (auto _ : bench) {
        QTemporaryDir dir;
        app::Clock clock;
        app::UnattendedPrompter prompter;
        auto db = store::Database::open(store::databaseFilePath(dir.path()));  // first run: created
        app::MainWindow window(*db, clock, prompter, dir.path());
        window.show();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_StartToWindowShown)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_FullRedraw(benchmark::State& bench) {
    QTemporaryDir dir;
    app::Clock clock;
    app::UnattendedPrompter prompter;
    auto db = store::Database::open(store::databaseFilePath(dir.path()));
    app::MainWindow window(*db, clock, prompter, dir.path());
    window.enterCaseNumber(QStringLiteral("20240204311121藏山卜T:09:05:00"));
    QImage image(window.chartArea->size(), QImage::Format_RGB32);
    for (auto _ : bench) {
        window.chartArea->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond);

}  // namespace
