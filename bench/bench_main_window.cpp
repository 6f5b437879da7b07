// The main window: making and showing it over a fresh database, and a full redraw of the chart.
// Runs offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "store/data_root.h"
#include "test_support/controls.h"
#include "ui/main/main_window.h"
#include "workbench/clock.h"
#include "workbench/prompter.h"
#include "workbench/workbench.h"

namespace {

void BM_StartToWindowShown(benchmark::State& bench) {
    for (auto _ : bench) {
        QTemporaryDir dir;
        workbench::Clock clock;
        workbench::UnattendedPrompter prompter;
        auto db = store::Database::open(store::databaseFilePath(dir.path()));  // first run: created
        workbench::Workbench current(*db, clock, prompter, dir.path());
        ui::MainWindow window(current);
        window.show();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_StartToWindowShown)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_FullRedraw(benchmark::State& bench) {
    QTemporaryDir dir;
    workbench::Clock clock;
    workbench::UnattendedPrompter prompter;
    auto db = store::Database::open(store::databaseFilePath(dir.path()));
    workbench::Workbench current(*db, clock, prompter, dir.path());
    ui::MainWindow window(current);
    current.enterCaseNumber(QStringLiteral("20240204311121藏山卜T:09:05:00"));
    QWidget* chartArea = control<QWidget>(window, "PaintBox1");
    QImage image(chartArea->size(), QImage::Format_RGB32);
    for (auto _ : bench) {
        chartArea->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond);

}  // namespace
