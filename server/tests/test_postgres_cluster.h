// A throwaway PostgreSQL cluster for the tests: initdb into a temporary folder, the server on
// a free port of 127.0.0.1 with its socket in that folder, stopped and removed when the test
// program ends. One per test program, started on first use. Run as root, the server runs as
// the system's "postgres" account (or a system account created for it) through runuser.
#pragma once

#include <filesystem>
#include <string>

namespace qinglan::caseservice::testing {

class TestPostgres {
public:
    // The cluster, started on the first call; throws std::runtime_error with the reason
    // (and the server's log) when it cannot start.
    static TestPostgres& instance();
    ~TestPostgres();
    TestPostgres(const TestPostgres&) = delete;
    TestPostgres& operator=(const TestPostgres&) = delete;

    // A new, empty UTF-8 database: its connection URI.
    std::string freshDatabase();
    std::string uri(const std::string& database) const;
    // Runs SQL through psql as the superuser; its output (throws when psql fails).
    std::string psql(const std::string& database, const std::string& sql) const;

private:
    TestPostgres();
    std::string run(const std::string& command) const;  // output; throws on a non-zero exit

    std::filesystem::path dir_;
    std::filesystem::path bin_;
    std::string runAs_;  // "runuser -u USER -- " when run as root
    int port_ = 0;
    int databases_ = 0;
    bool started_ = false;
};

}  // namespace qinglan::caseservice::testing
