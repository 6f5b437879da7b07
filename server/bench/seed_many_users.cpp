// Fills a case-service database with many accounts and their cases, for the load generator to
// search as any one of them (--user benchN): accounts bench1..benchN, all with the bench
// password, and cases taking turns between them, texts as the load generator seeds them.
// Writes through the service's own store and search index; the file may be new.
#include "divination_texts.h"

#include "auth/password_auth.h"
#include "model/account_name.h"
#include "seeded_cases.h"
#include "store/sqlite/sqlite_case_repository.h"
#include "store/sqlite/sqlite_connection.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

using namespace qinglan::caseservice;

int main(int argc, char** argv) {
    std::string db;
    long users = 1000, cases = 1000000;
    bool longTexts = false;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--db")
            db = argv[i + 1];
        else if (option == "--users")
            users = std::clamp(std::atol(argv[i + 1]), 1L, 100000L);
        else if (option == "--long-texts")
            longTexts = std::string_view(argv[i + 1]) == "yes";
        else if (option == "--cases")
            cases = std::clamp(std::atol(argv[i + 1]), 1L, 10000000L);
        else
            db.clear(), i = argc;
    }
    if (db.empty()) {
        std::cerr << "usage: bench_caseservice_seed --db FILE [--users N] [--cases M] [--long-texts yes]\n"
                     "Adds accounts bench1..benchN (password as the load generator's) and M cases between them;\n"
                     "with --long-texts yes each judgment and feedback has 50 to 500 characters of common\n"
                     "divination phrases (else the load generator's short texts). Then prints the keyword\n"
                     "index's size against the texts it indexes.\n";
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::int64_t> ids;
    {
        SqliteCaseRepository store(db);
        PasswordAuth auth(store, PwhashLimits::Minimum);
        for (long u = 1; u <= users; ++u) {
            const std::string name = "bench" + std::to_string(u);
            std::string why;
            const auto nm = accountNameForRegistration(name, why);
            int wait = 0;
            // Each from an address of its own, as so many people would register.
            auth.registerUser(
                *nm, seeded::passwordDigest(), "", "",
                "10." + std::to_string(u / 65536) + "." + std::to_string(u / 256 % 256) + "." + std::to_string(u % 256),
                wait);
            const auto account = store.findUser(nm->key);
            if (!account) {
                std::cerr << "cannot register " << name << "\n";
                return 1;
            }
            ids.push_back(account->id);
        }
    }
    SqliteConnection connection(db, OpenMode::ExistingOnly, QueryLimits{std::chrono::hours(24)});
    startQueryClock(std::chrono::hours(24));
    std::mt19937 random(5);
    for (long from = 0; from < cases;) {
        WriteTransaction transaction(connection);
        for (const long end = std::min(cases, from + 20000); from < end; ++from) {
            const CaseFields fields{"主卦：乾为天 变卦：天风姤",
                                    seeded::caseNumber(from),
                                    std::to_string(1 + from % 8),
                                    std::to_string(2000 + from % 25),
                                    std::to_string(1 + from % 12),
                                    std::to_string(1 + from % 28),
                                    "男",
                                    "1980",
                                    seeded::matter(from)};
            const std::string judgment =
                longTexts ? divination_texts::judgmentOrFeedback(random) : seeded::judgment(random);
            const std::string feedback =
                longTexts ? divination_texts::judgmentOrFeedback(random) : seeded::feedback(from);
            SqliteCaseRepository::insertRow(connection, ids[static_cast<std::size_t>(from % users)], fields, judgment,
                                            feedback);
        }
        transaction.commit();
        connection.execute("PRAGMA wal_checkpoint(TRUNCATE)");  // the service's maintenance is not running
        std::fprintf(stderr, "%ld cases\r", from);
    }
    std::printf("%ld accounts, %ld cases in %.0f s\n", users, cases,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    // Merged into one segment, as the service's idle merge leaves it.
    connection.execute(
        "INSERT INTO case_grams(case_grams) VALUES('optimize');"
        "INSERT INTO case_grams_short(case_grams_short) VALUES('optimize')");
    connection.execute("PRAGMA wal_checkpoint(TRUNCATE)");
    auto texts = connection.prepare(
        "SELECT sum(length(CAST(gua_ming AS BLOB)) + length(CAST(shiyou AS BLOB)) + length(CAST(duanyu AS BLOB)) + "
        "length(CAST(fankui AS BLOB))) FROM gua_table");
    auto index = connection.prepare("SELECT sum(pgsize) FROM dbstat WHERE name LIKE 'case_grams%'");
    if (texts.step() && index.step())
        std::printf("texts of all cases in the file %.1f MB, keyword index %.1f MB (%.2f times the texts)\n",
                    texts.integer(0) / 1e6, index.integer(0) / 1e6,
                    static_cast<double>(index.integer(0)) / static_cast<double>(texts.integer(0)));
    return 0;
}
