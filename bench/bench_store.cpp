// Case store speed over a database file holding 100,000 generated cases.
#include "store/case_lists.h"
#include "store/case_store.h"
#include "store/database.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kCases = 100000;

// One file for the whole run, filled once.
struct SharedDatabase {
    QTemporaryDir dir;
    std::unique_ptr<store::Database> db;

    SharedDatabase() {
        db = store::Database::open(dir.filePath(QStringLiteral("qinglan.db")));
        const QString matters[] = {QStringLiteral("问财运"), QStringLiteral("求职面试"), QStringLiteral("婚姻感情"),
                                   QStringLiteral("病情如何"), QStringLiteral("出行平安"), QStringLiteral("失物何在")};
        const QString judgment = QStringLiteral("世爻持财，月建生扶，日辰合住，应爻发动来生世，此事可成。").repeated(6);
        store::Transaction transaction(*db);
        for (int i = 0; i < kCases; ++i) {
            const int year = 2000 + i % 25, month = 1 + i % 12, day = 1 + i % 28;
            db->execute(QStringLiteral("insert into gua_table(gua_ming,gua_bianhao,lei_id,nian,yue,ri,xingbie,chusheng,"
                                       "shiyou,duanyu,fankui,shijian) values(?,?,?,?,?,?,?,?,?,?,?,?)"),
                        {QStringLiteral("主卦：天风姤 变卦：乾为天"),
                         QStringLiteral("%1%2%3123412京房式T:16:25:00").arg(year).arg(month, 2, 10, QChar(u'0')).arg(day, 2, 10, QChar(u'0')),
                         1 + i % 13, year, month, day, QStringLiteral("未知"), QStringLiteral("1980"),
                         matters[i % 6] + QString::number(i), judgment, i % 3 ? QString() : QStringLiteral("后来应验"),
                         QStringLiteral("%1-%2-%3 %4:%5:%6.000")
                             .arg(year).arg(month, 2, 10, QChar(u'0')).arg(day, 2, 10, QChar(u'0'))
                             .arg(i % 24, 2, 10, QChar(u'0')).arg(i % 60, 2, 10, QChar(u'0')).arg(i % 59, 2, 10, QChar(u'0'))});
        }
        transaction.commit();
    }
};

SharedDatabase& shared() {
    static SharedDatabase instance;
    return instance;
}

void BM_Recent50(benchmark::State& state) {
    store::CaseLists lists(*shared().db);
    for (auto _ : state) benchmark::DoNotOptimize(lists.recentCases(50));
}
BENCHMARK(BM_Recent50)->Unit(benchmark::kMillisecond);

// Keywords of three characters or more use the trigram index; shorter ones scan the table, which
// is quick when matches are frequent (the first 100 come early) and slowest when there are none.
void BM_Search(benchmark::State& state, const char* keyword) {
    store::CaseLists lists(*shared().db);
    const QString text = QString::fromUtf8(keyword);
    for (auto _ : state) benchmark::DoNotOptimize(lists.searchCases(text));
}
BENCHMARK_CAPTURE(BM_Search, long_frequent, "求职面试")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, long_absent, "无此关键字")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, short_frequent, "求职")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, short_absent, "无此")->Unit(benchmark::kMillisecond);

void BM_YearList(benchmark::State& state) {
    store::CaseLists lists(*shared().db);
    const qint64 category = state.range(0);
    for (auto _ : state) benchmark::DoNotOptimize(lists.yearList(category));
}
BENCHMARK(BM_YearList)->Arg(store::kAllCategories)->Arg(5)->Unit(benchmark::kMillisecond);

void BM_MonthList(benchmark::State& state) {
    store::CaseLists lists(*shared().db);
    const qint64 category = state.range(0);
    for (auto _ : state) benchmark::DoNotOptimize(lists.monthList(category, 2012));
}
BENCHMARK(BM_MonthList)->Arg(store::kAllCategories)->Arg(5)->Unit(benchmark::kMillisecond);

void BM_CasesOfMonth(benchmark::State& state) {
    store::CaseLists lists(*shared().db);
    for (auto _ : state) benchmark::DoNotOptimize(lists.casesOfMonth(store::kAllCategories, 2012, 6));
}
BENCHMARK(BM_CasesOfMonth)->Unit(benchmark::kMillisecond);

void BM_CreateCase(benchmark::State& state) {
    store::CaseHistory history;
    store::CaseStore cases(*shared().db, history);
    store::CastCase cast;
    cast.gua_ming = QStringLiteral("乾为天");
    cast.caseNumber = QStringLiteral("20240204111111京房式T:16:25:00");
    cast.category = QStringLiteral("杂类");
    cast.xingbie = QStringLiteral("男");
    cast.shiyou = QStringLiteral("测试");
    cast.castDate = QDate(2024, 2, 4);
    for (auto _ : state) benchmark::DoNotOptimize(cases.createCase(cast));
}
BENCHMARK(BM_CreateCase)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);  // Qt loads its SQL driver plugins only under an application
    benchmark::Initialize(&argc, argv);
    shared();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
