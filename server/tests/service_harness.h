// The real case service on 127.0.0.1 at a free port, over a fresh database file, and the
// desktop client's side of the protocol written out independently: the form encoding,
// the password digest, the list-reading rule and urlDecode.
#pragma once

#include "auth/password_auth.h"
#include "http/http_frontend.h"
#include "service/case_service.h"
#include "store/sqlite/sqlite_case_repository.h"

#include "offset_clock.h"

#include <gtest/gtest.h>

#include <sys/types.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace qinglan::caseservice::testing {

using Fields = std::vector<std::pair<std::string, std::string>>;

struct HttpReply {
    int status = 0;  // 0 when the exchange failed
    std::string body;
    std::string sessionToken;  // the X-Qinglan-Session header, when there was one
};

// The store a service runs on: SQLite (a file of its own), or a database of the test
// PostgreSQL cluster (a fresh one, or the one at `location`, to run several services on it).
enum class Backend { Sqlite, Postgresql };
struct Database {
    Database(Backend backend = Backend::Sqlite, std::string location = {})
        : backend(backend), location(std::move(location)) {}
    Backend backend;
    std::string location;
};

inline void PrintTo(Backend backend, std::ostream* out) {
    *out << (backend == Backend::Sqlite ? "sqlite" : "postgresql");
}

// Runs a suite's TEST_Ps on both stores: "SQLite/Suite.Test/0" and "PostgreSQL/Suite.Test/0".
class OnEachStore : public ::testing::TestWithParam<Backend> {};
#define QINGLAN_ON_EACH_STORE(Suite)                                                                              \
    INSTANTIATE_TEST_SUITE_P(SQLite, Suite, ::testing::Values(::qinglan::caseservice::testing::Backend::Sqlite)); \
    INSTANTIATE_TEST_SUITE_P(PostgreSQL, Suite, ::testing::Values(::qinglan::caseservice::testing::Backend::Postgresql))

class RunningService {
public:
    // Without account quotas unless asked for.
    explicit RunningService(LoginNotice notice = {}, std::string updateFile = {}, ThrottlePolicy throttle = {},
                            FrontendSettings frontend = {}, StoreSettings store = {}, Database database = {},
                            AccountQuotas quotas = AccountQuotas::none());
    explicit RunningService(Database database) : RunningService({}, {}, {}, {}, {}, std::move(database)) {}
    RunningService(Database database, AccountQuotas quotas)
        : RunningService({}, {}, {}, {}, {}, std::move(database), quotas) {}
    ~RunningService();

    int port() const { return port_; }
    const std::filesystem::path& databaseFile() const { return dbFile_; }
    // The file, or the PostgreSQL connection URI: where a second service may share the store.
    Database database() const { return {backend_, backend_ == Backend::Sqlite ? dbFile_.string() : uri_}; }
    // Runs one statement on the store's database beside the service; the first column of its
    // first row ("" when none).
    std::string sql(const std::string& statement) const;

    // Posts the fields as the desktop client does; the reply body (fails the test on a
    // status other than 200).
    std::string post(const std::string& endpoint, const Fields& fields) const;
    HttpReply postRaw(const std::string& endpoint, const std::string& body) const;
    HttpReply get(const std::string& pathAndQuery) const;

    // Registers nm with the password and returns its digest.
    std::string registerUser(const std::string& nm, const std::string& password) const;
    // Logs in and returns the session token later requests carry (empty when refused).
    std::string logIn(const std::string& nm, const std::string& digest) const;
    // Registers and logs in: the session token.
    std::string registerAndLogIn(const std::string& nm, const std::string& password) const {
        return logIn(nm, registerUser(nm, password));
    }
    // The clock the service's login throttle and sessions read: moved on instead of waiting.
    OffsetClock& clock() { return clock_; }
    CaseService& service() { return *service_; }
    // The SQLite store (fails the test on another store).
    SqliteCaseRepository& store();
    // What GET /metrics would answer.
    std::string metrics() const { return frontend_->metrics(); }

private:
    OffsetClock clock_;
    Backend backend_;
    std::filesystem::path dir_;
    std::filesystem::path dbFile_;
    std::string uri_;
    std::unique_ptr<CaseRepository> store_;
    std::unique_ptr<PasswordAuth> auth_;
    std::unique_ptr<CaseService> service_;
    std::unique_ptr<HttpFrontend> frontend_;
    std::thread thread_;
    int port_ = -1;
};

// The built qinglan-caseservice started with the arguments; out reads its standard output
// (and its standard error too when asked).
struct ServiceProcess {
    pid_t pid = -1;
    FILE* out = nullptr;
};
ServiceProcess startServiceBinary(const std::vector<std::string>& args, bool withErrors = false);
// Its exit status once it has ended, at most `within` from now; -1 when it had not (it is then killed).
int waitForExit(pid_t pid, std::chrono::milliseconds within = std::chrono::seconds(5));
// Reads the start message and returns the port in it; -1 when there is none.
int announcedPort(const ServiceProcess& process);

// Whether the condition came true within the time (checked every few milliseconds).
bool becomes(const std::function<bool()>& condition, std::chrono::milliseconds within);

// The value of a counter or gauge in metrics text (the whole name with its labels); -1 when absent.
long long metricValue(const std::string& metrics, const std::string& name);

// The request body exactly as the client writes it: name and value split at the first
// "=", each with bytes below 33 or above 127 and the characters *#%<> [] as %XX; "&", "="
// and "+" as they are.
std::string clientFormBody(const Fields& fields);

// MD5 of the password, as 32 uppercase hex digits, hashed once more the same way.
std::string passwordDigest(const std::string& password);

// The client's list-reading rule: skip the status field, then records of `width` fields.
std::vector<std::vector<std::string>> readList(std::string reply, std::size_t width, std::size_t cap);

// The client's urlDecode, into UTF-8: "%" + four hex digits is one UTF-16 code unit,
// "+" a blank. Throws std::invalid_argument on a bad escape.
std::string urlDecode(const std::string& text);

// The nine case fields of a store request, in wire order.
Fields caseFields(const std::string& nm, const std::string& bianhao, const std::string& subject,
                  const std::string& categoryId = "1", const std::string& year = "2024",
                  const std::string& month = "3");

}  // namespace qinglan::caseservice::testing
