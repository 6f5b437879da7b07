// The case windows over 100,000 stored cases: the recent list shown, a browser search and the
// browser's list refills. Runs offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "seeded_cases.h"
#include "test_support/controls.h"
#include "ui/browser/case_browser.h"
#include "ui/main/main_window.h"
#include "workbench/clock.h"
#include "workbench/prompter.h"
#include "workbench/workbench.h"

namespace {

struct Windows {
    workbench::Clock clock;
    workbench::UnattendedPrompter prompter;
    workbench::Workbench current{*bench::shared().db, clock, prompter, bench::shared().dir.path()};
    ui::MainWindow window{current};
    ui::CaseBrowser browser{current};
    Windows() { browser.prepareFirstShowing(); }
};

Windows& windows() {
    static Windows instance;
    return instance;
}

void BM_RecentListShown(benchmark::State& state) {
    Windows& w = windows();
    for (auto _ : state) {
        control<QPushButton>(w.window, "Button25")->click();
        benchmark::DoNotOptimize(control<QListWidget>(w.window, "ListBox1")->count());
    }
}
BENCHMARK(BM_RecentListShown)->Unit(benchmark::kMillisecond);

void BM_BrowserSearch(benchmark::State& state, const char* keyword) {
    Windows& w = windows();
    control<QLineEdit>(w.browser, "Edit1")->setText(QString::fromUtf8(keyword));
    for (auto _ : state) {
        control<QPushButton>(w.browser, "Button1")->click();
        benchmark::DoNotOptimize(control<QListWidget>(w.browser, "ListBox4")->count());
    }
}
BENCHMARK_CAPTURE(BM_BrowserSearch, frequent, "求职面试")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BrowserSearch, absent, "无此关键字")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BrowserSearch, two_characters_absent, "无此")->Unit(benchmark::kMillisecond);

void click(QListWidget* list, int row) {
    list->setCurrentRow(row);
    emit list->itemClicked(list->item(row));
}

void BM_BrowserRefills(benchmark::State& state) {
    Windows& w = windows();
    for (auto _ : state) {
        click(control<QListWidget>(w.browser, "ListBox1"), 0);  // years of a category
        click(control<QListWidget>(w.browser, "ListBox2"), 0);  // months
        click(control<QListWidget>(w.browser, "ListBox3"), 0);  // cases of the month
        benchmark::DoNotOptimize(control<QListWidget>(w.browser, "ListBox4")->count());
    }
    state.counters["cases"] = control<QListWidget>(w.browser, "ListBox4")->count();
}
BENCHMARK(BM_BrowserRefills)->Unit(benchmark::kMillisecond);

void BM_YearsOfAllCategories(benchmark::State& state) {
    Windows& w = windows();
    for (auto _ : state) {
        control<QRadioButton>(w.browser, "RadioButton4")->click();
        benchmark::DoNotOptimize(control<QListWidget>(w.browser, "ListBox2")->count());
    }
    control<QRadioButton>(w.browser, "RadioButton3")->click();
}
BENCHMARK(BM_YearsOfAllCategories)->Unit(benchmark::kMillisecond);

}  // namespace
