// The case windows over 100,000 stored cases: the recent list shown, a browser search and the
// browser's list refills. Runs offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "app/clock.h"
#include "app/main_window.h"
#include "app/prompter.h"
#include "browser/case_browser.h"
#include "seeded_cases.h"

namespace {

struct Windows {
    app::Clock clock;
    app::UnattendedPrompter prompter;
    app::MainWindow window{*bench::shared().db, clock, prompter, bench::shared().dir.path()};
    browser::CaseBrowser browser{window.caseLists(), prompter, [](qint64) { return true; }};
    Windows() { browser.prepareFirstShowing(false); }
};

Windows& windows() {
    static Windows instance;
    return instance;
}

void BM_RecentListShown(benchmark::State& state) {
    Windows& w = windows();
    for (auto _ : state) {
        w.window.recentButton->click();
        benchmark::DoNotOptimize(w.window.recentList->count());
    }
}
BENCHMARK(BM_RecentListShown)->Unit(benchmark::kMillisecond);

void BM_BrowserSearch(benchmark::State& state, const char* keyword) {
    Windows& w = windows();
    w.browser.keywordEdit->setText(QString::fromUtf8(keyword));
    for (auto _ : state) {
        w.browser.searchButton->click();
        benchmark::DoNotOptimize(w.browser.caseList->count());
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
        click(w.browser.categoryList, 0);  // years of a category
        click(w.browser.yearList, 0);      // months
        click(w.browser.monthList, 0);     // cases of the month
        benchmark::DoNotOptimize(w.browser.caseList->count());
    }
    state.counters["cases"] = w.browser.caseList->count();
}
BENCHMARK(BM_BrowserRefills)->Unit(benchmark::kMillisecond);

void BM_YearsOfAllCategories(benchmark::State& state) {
    Windows& w = windows();
    for (auto _ : state) {
        w.browser.byTime->click();
        benchmark::DoNotOptimize(w.browser.yearList->count());
    }
    w.browser.byCategory->click();
}
BENCHMARK(BM_YearsOfAllCategories)->Unit(benchmark::kMillisecond);

}  // namespace
