// Keyword search in the case browser over 100,000 and 1,000,000 generated cases whose judgment
// and feedback are 50 to 500 characters of common divination phrases: keywords of 1, 2, 3 and 5
// characters, frequent, rare and absent, through the character index and through the previous
// way (a LIKE scan below three characters, a trigram index from three on, oldest first); a save
// with texts; and the database size without and with each index.
//
// The databases are made once into $QINGLAN_SEARCH_BENCH_DIR (default /tmp/qinglan-search-bench)
// and reused by later runs; $QINGLAN_SEARCH_BENCH_SIZES chooses the sizes (default
// "100000,1000000"). Counters: median_ms and p99_ms of the searches, found (cases returned).
#include "store/case_history.h"
#include "store/case_lists.h"
#include "store/case_store.h"
#include "store/search_index.h"

#include "divination_texts.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <random>

namespace {

using Clock = std::chrono::steady_clock;

const QStringList kMatters = {"问财运", "问婚姻", "问工作", "问健康", "问出行", "问考试", "问官司", "问房产"};
// Words put into one case in a thousand, so a search for them is rare.
const QStringList kRareWords = {"祟", "蛊惑"};

QString textOf(std::mt19937& random, int length) {
    return QString::fromStdString(divination_texts::textOf(random, length));
}

QString benchDir() {
    const QString dir = qEnvironmentVariable("QINGLAN_SEARCH_BENCH_DIR", QStringLiteral("/tmp/qinglan-search-bench"));
    QDir().mkpath(dir);
    return dir;
}

struct BenchDatabase {
    std::unique_ptr<store::Database> db;
    std::map<QString, qint64> sizes;  // bytes: texts, table (no index), char_index, trigram_index
};

qint64 fileBytes(store::Database& db) {
    return db.getFirstInteger(QStringLiteral("pragma page_count")) *
           db.getFirstInteger(QStringLiteral("pragma page_size"));
}

// Fills a new file: the cases with no index, then the character index, then the trigram index
// the previous version kept (as a table of its own, so both ways can be measured on one file).
void build(store::Database& db, int cases) {
    store::dropSearchIndex(db);
    std::mt19937 random(17);
    for (int from = 0; from < cases;) {
        store::Transaction transaction(db);
        for (const int end = std::min(cases, from + 20000); from < end; ++from) {
            const int year = 2000 + from % 25, month = 1 + from % 12, day = 1 + from % 28;
            QString feedback = textOf(random, 50 + static_cast<int>(random() % 451));
            if (from % 1000 == 500) feedback += kRareWords[(from / 1000) % kRareWords.size()];
            db.execute(QStringLiteral("insert into gua_table(gua_ming,gua_bianhao,lei_id,nian,yue,ri,xingbie,chusheng,"
                                      "shiyou,duanyu,fankui) values(?,?,?,?,?,?,?,?,?,?,?)"),
                       {QStringLiteral("主卦：天风姤 变卦：乾为天"), QStringLiteral("bench-%1").arg(from),
                        1 + from % 13, year, month, day, QStringLiteral("男"), QStringLiteral("1980"),
                        kMatters[from % kMatters.size()] + QString::number(from),
                        textOf(random, 50 + static_cast<int>(random() % 451)), feedback});
        }
        transaction.commit();
    }
    db.execute(QStringLiteral("create table bench_sizes(name text primary key, bytes integer)"));
    const auto keep = [&](const char* name, qint64 bytes) {
        db.execute(QStringLiteral("insert into bench_sizes values(?,?)"), {QLatin1String(name), bytes});
    };
    keep("texts", db.getFirstInteger(QStringLiteral(
                      "select sum(length(cast(gua_ming as blob))+length(cast(shiyou as blob))+"
                      "length(cast(duanyu as blob))+length(cast(fankui as blob))) from gua_table")));
    const qint64 table = fileBytes(db);
    keep("table", table);
    {
        store::Transaction transaction(db);
        store::createSearchIndex(db);
        store::fillSearchIndex(db);
        transaction.commit();
    }
    const qint64 withChars = fileBytes(db);
    keep("char_index", withChars - table);
    {
        store::Transaction transaction(db);
        db.execute(QStringLiteral("create virtual table old_trigram using fts5(gua_ming, shiyou, duanyu, fankui, "
                                  "content='gua_table', content_rowid='id', tokenize='trigram')"));
        db.execute(QStringLiteral("insert into old_trigram(old_trigram) values('rebuild')"));
        transaction.commit();
    }
    keep("trigram_index", fileBytes(db) - withChars);
}

BenchDatabase& databaseOf(int cases) {
    // Closed when the application object goes, while the database driver is still loaded;
    // never destroyed after that.
    static auto& open = *new std::map<int, BenchDatabase>;
    static const bool closedAtExit = [] {
        qAddPostRoutine([] { open.clear(); });
        return true;
    }();
    (void)closedAtExit;
    BenchDatabase& entry = open[cases];
    if (entry.db) return entry;
    const QString path = benchDir() + QStringLiteral("/cases-%1.db").arg(cases);
    for (int attempt = 0; attempt < 2 && !entry.db; ++attempt) {
        auto db = store::Database::open(path);
        if (db->getFirstInteger(QStringLiteral("select count(*) from sqlite_master where name='bench_sizes'")) == 0) {
            if (db->getFirstInteger(QStringLiteral("select count(*) from gua_table")) == 0) {
                build(*db, cases);
            } else {  // a build cut short: start again
                db.reset();
                QFile::remove(path);
                continue;
            }
        }
        entry.db = std::move(db);
    }
    auto query = entry.db->select(QStringLiteral("select name, bytes from bench_sizes"));
    while (query.next()) entry.sizes[query.value(0).toString()] = query.value(1).toLongLong();
    return entry;
}

// The search as the previous version ran it.
int previousSearch(store::Database& db, const QString& keyword) {
    QString escaped = keyword;
    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'%', QStringLiteral("\\%")).replace(u'_', QStringLiteral("\\_"));
    const QString pattern = u'%' + escaped + u'%';
    QSqlQuery query =
        keyword.toUcs4().size() >= 3
            ? db.select(QStringLiteral("select id,gua_ming,gua_bianhao,shiyou from gua_table where id in "
                                       "(select rowid from old_trigram where old_trigram match ?) order by id limit 100"),
                        {u'"' + QString(keyword).replace(u'"', QStringLiteral("\"\"")) + u'"'})
            : db.select(QStringLiteral("select id,gua_ming,gua_bianhao,shiyou from gua_table "
                                       "where gua_ming like ? escape '\\' or shiyou like ? escape '\\' "
                                       "or duanyu like ? escape '\\' or fankui like ? escape '\\' order by id limit 100"),
                        {pattern, pattern, pattern, pattern});
    int found = 0;
    while (query.next()) ++found;
    return found;
}

void reportLatencies(benchmark::State& state, std::vector<double>& ms, int found) {
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    state.counters["found"] = found;
}

void searchBenchmark(benchmark::State& state, int cases, QString keyword, bool previous) {
    BenchDatabase& bench = databaseOf(cases);
    store::CaseLists lists(*bench.db);
    std::vector<double> ms;
    int found = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        found = previous ? previousSearch(*bench.db, keyword) : static_cast<int>(lists.searchCases(keyword).size());
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    reportLatencies(state, ms, found);
}

// The previous version's triggers, which kept the trigram index in step, in place of the
// character index's while it lives; both indexes stay whole because the cases it writes are
// removed again before it ends.
class PreviousTriggers {
public:
    explicit PreviousTriggers(store::Database& db) : db_(db) {
        current_ = db_.getFirstItems(QStringLiteral("select sql from sqlite_master where type='trigger'"));
        for (const QString& name : db_.getFirstItems(QStringLiteral("select name from sqlite_master where type='trigger'")))
            db_.execute(QStringLiteral("drop trigger %1").arg(name));
        db_.execute(QStringLiteral(
            "create trigger old_insert after insert on gua_table begin insert into old_trigram(rowid, gua_ming, shiyou, "
            "duanyu, fankui) values (new.id, new.gua_ming, new.shiyou, new.duanyu, new.fankui); end"));
        db_.execute(QStringLiteral(
            "create trigger old_delete after delete on gua_table begin insert into old_trigram(old_trigram, rowid, "
            "gua_ming, shiyou, duanyu, fankui) values ('delete', old.id, old.gua_ming, old.shiyou, old.duanyu, "
            "old.fankui); end"));
        db_.execute(QStringLiteral(
            "create trigger old_update after update of gua_ming, shiyou, duanyu, fankui on gua_table begin "
            "insert into old_trigram(old_trigram, rowid, gua_ming, shiyou, duanyu, fankui) values ('delete', old.id, "
            "old.gua_ming, old.shiyou, old.duanyu, old.fankui); insert into old_trigram(rowid, gua_ming, shiyou, "
            "duanyu, fankui) values (new.id, new.gua_ming, new.shiyou, new.duanyu, new.fankui); end"));
    }
    ~PreviousTriggers() {
        for (const char* name : {"old_insert", "old_delete", "old_update"})
            db_.execute(QStringLiteral("drop trigger %1").arg(QLatin1String(name)));
        for (const QString& sql : current_) db_.execute(sql);
    }

private:
    store::Database& db_;
    QStringList current_;
};

// Saves a judgment and feedback of 50 to 500 characters over earlier ones, as the main window
// does, into a case stored for the purpose (made before and deleted after the timing, so the
// benchmark file stays as it was). Between saves the log is copied into the file, as the program
// does once idle; that copy is counted apart (idle_copy_median_ms).
void saveBenchmark(benchmark::State& state, int cases, bool previous) {
    BenchDatabase& bench = databaseOf(cases);
    std::unique_ptr<PreviousTriggers> triggers;
    if (previous) triggers = std::make_unique<PreviousTriggers>(*bench.db);
    store::CaseHistory history;
    store::CaseStore caseStore(*bench.db, history);
    std::mt19937 random(99);
    std::vector<double> ms, copyMs;
    for (auto _ : state) {
        state.PauseTiming();
        store::CastCase cast;
        cast.hexagramName = QStringLiteral("主卦：天风姤 变卦：乾为天");
        cast.caseNumber = QStringLiteral("20241209111111京房式T:08:00:00");
        cast.subject = QStringLiteral("问财运");
        cast.castDate = QDate(2024, 12, 9);
        caseStore.createCase(cast);
        const auto texts = [&] {
            return store::CaseTexts{textOf(random, 50 + static_cast<int>(random() % 451)),
                                    textOf(random, 50 + static_cast<int>(random() % 451))};
        };
        caseStore.saveCaseTexts(store::TextsToSave::Both, texts());
        const store::CaseTexts next = texts();
        state.ResumeTiming();
        const auto start = Clock::now();
        if (!caseStore.saveCaseTexts(store::TextsToSave::Both, next).saved) state.SkipWithError("save failed");
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        state.PauseTiming();
        caseStore.deleteCase(bench.db->getFirstInteger(QStringLiteral("select max(id) from gua_table")));
        // What the program does once idle after a save: copy the log into the file.
        const auto copyStart = Clock::now();
        bench.db->checkpoint();
        copyMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - copyStart).count());
        state.ResumeTiming();
    }
    reportLatencies(state, ms, 0);
    std::sort(copyMs.begin(), copyMs.end());
    state.counters["idle_copy_median_ms"] = copyMs[copyMs.size() / 2];
}

void sizeBenchmark(benchmark::State& state, int cases) {
    BenchDatabase& bench = databaseOf(cases);
    for (auto _ : state) benchmark::DoNotOptimize(bench.sizes.size());
    for (const auto& [name, bytes] : bench.sizes) state.counters[name.toStdString() + "_MB"] = bytes / 1e6;
    state.counters["char_index_per_text"] =
        static_cast<double>(bench.sizes["char_index"]) / static_cast<double>(bench.sizes["texts"]);
}

struct Keyword {
    const char* label;
    const char* text;
};

const Keyword kKeywords[] = {
    {"1char_frequent", "财"},  {"1char_rare", "祟"},         {"1char_absent", "龘"},
    {"2char_frequent", "官鬼"}, {"2char_rare", "蛊惑"},       {"2char_absent", "财官"},
    {"3char_frequent", "官鬼持"}, {"3char_absent", "世官鬼"}, {"5char_frequent", "官鬼持世，"},
    {"5char_absent", "官鬼持世财"},
    // Absent although every pair of neighbouring characters in them is frequent: the hardest
    // case for a pair index, which must look at the positions in every case holding all pairs.
    {"3char_absent_frequent_pairs", "持世应"}, {"5char_absent_frequent_pairs", "官鬼持世应"},
};

}  // namespace

int main(int argc, char** argv) {
    QList<int> sizes;
    for (const QString& n :
         qEnvironmentVariable("QINGLAN_SEARCH_BENCH_SIZES", QStringLiteral("100000,1000000")).split(u','))
        if (n.toInt() > 0) sizes << n.toInt();
    for (const int cases : sizes) {
        const std::string prefix = "n" + std::to_string(cases) + "/";
        benchmark::RegisterBenchmark((prefix + "sizes").c_str(), sizeBenchmark, cases)->Iterations(1);
        for (const Keyword& k : kKeywords) {
            const QString keyword = QString::fromUtf8(k.text);
            benchmark::RegisterBenchmark((prefix + "search/" + k.label).c_str(), searchBenchmark, cases, keyword, false)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(200);
            // The previous way reads every case for a rare short keyword: fewer rounds.
            benchmark::RegisterBenchmark((prefix + "previous_search/" + k.label).c_str(), searchBenchmark, cases,
                                         keyword, true)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(cases >= 1000000 ? 5 : 20);
        }
        for (const bool previous : {false, true})
            benchmark::RegisterBenchmark((prefix + (previous ? "previous_save_texts" : "save_texts")).c_str(),
                                         saveBenchmark, cases, previous)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(100);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
