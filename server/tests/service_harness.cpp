#include "service_harness.h"

#include "store/postgresql/pg_connection.h"
#include "store/postgresql/postgres_case_repository.h"
#include "test_postgres_cluster.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <openssl/evp.h>
#include <sqlite3.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <random>
#include <stdexcept>

namespace qinglan::caseservice::testing {

namespace {

// The service may answer an oversized upload and close before the client has sent it all:
// the client then sees a failed write, not a signal that ends the tests.
const bool kIgnoreBrokenPipes = [] {
    std::signal(SIGPIPE, SIG_IGN);
    return true;
}();

std::filesystem::path freshDirectory() {
    static std::atomic<int> counter{0};
    std::random_device random;
    auto dir = std::filesystem::temp_directory_path() /
               ("qinglan-caseservice-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(dir);
    return dir;
}

std::string md5Hex(const std::string& bytes) {
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), out, &length, EVP_md5(), nullptr);
    static const char* hex = "0123456789ABCDEF";
    std::string text;
    for (unsigned i = 0; i < length; ++i) {
        text += hex[out[i] >> 4];
        text += hex[out[i] & 15];
    }
    return text;
}

std::string encodePart(const std::string& text) {
    static const std::string escaped = "*#%<> []&";
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 33 || byte > 127 || escaped.find(c) != std::string::npos) {
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

RunningService::RunningService(LoginNotice notice, std::string updateFile, ThrottlePolicy throttle,
                               FrontendSettings frontend, StoreSettings store, Database database, AccountQuotas quotas)
    : backend_(database.backend), dir_(freshDirectory()), dbFile_(dir_ / "cases.db") {
    if (backend_ == Backend::Sqlite) {
        if (!database.location.empty()) dbFile_ = database.location;
        store_ = std::make_unique<SqliteCaseRepository>(dbFile_.string(), store);
    } else {
        uri_ = database.location.empty() ? TestPostgres::instance().freshDatabase() : database.location;
        PgPoolSettings pool;
        pool.statementTimeout = store.queryTimeLimit;
        pool.maxConnections = frontend.threads + 4;
        store_ = std::make_unique<PostgresCaseRepository>(uri_, pool);
    }
    auth_ = std::make_unique<PasswordAuth>(*store_, PwhashLimits::Minimum, throttle, SessionPolicy{}, clock_);
    service_ = std::make_unique<CaseService>(*store_, *auth_, std::move(notice), quotas, clock_);
    frontend.updateFile = std::move(updateFile);
    frontend_ = std::make_unique<HttpFrontend>(*service_, std::move(frontend));
    std::string error;
    port_ = frontend_->bind("127.0.0.1", 0, error);
    if (port_ <= 0) throw std::runtime_error("cannot bind a port on 127.0.0.1: " + error);
    thread_ = std::thread([this] { frontend_->run(); });
}

RunningService::~RunningService() {
    store_->interruptQueries();
    frontend_->stop();
    thread_.join();
    frontend_.reset();
    service_.reset();
    auth_.reset();
    store_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

SqliteCaseRepository& RunningService::store() {
    auto* sqlite = dynamic_cast<SqliteCaseRepository*>(store_.get());
    if (!sqlite) throw std::logic_error("not an SQLite store");
    return *sqlite;
}

std::string RunningService::sql(const std::string& statement) const {
    if (backend_ == Backend::Postgresql) {
        PgConnection db(uri_, std::chrono::seconds(10));
        const auto result = db.execute(statement);
        return result.rows() > 0 && result.columns() > 0 ? result.text(0, 0) : "";
    }
    sqlite3* db = nullptr;
    if (sqlite3_open(dbFile_.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + dbFile_.string());
    }
    sqlite3_stmt* stmt = nullptr;
    std::string first;
    int rc = sqlite3_prepare_v2(db, statement.c_str(), -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW && sqlite3_column_count(stmt) > 0 && sqlite3_column_text(stmt, 0))
            first = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        if (rc == SQLITE_ROW || rc == SQLITE_DONE) rc = SQLITE_OK;
    }
    const std::string error = sqlite3_errmsg(db);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error("sqlite: " + error);
    return first;
}

HttpReply RunningService::postRaw(const std::string& endpoint, const std::string& body) const {
    httplib::Client client("127.0.0.1", port_);
    client.set_connection_timeout(5, 0);
    client.set_read_timeout(15, 0);
    const auto result = client.Post(("/" + endpoint).c_str(), body, "application/x-www-form-urlencoded");
    if (!result) return {};
    return {result->status, result->body, result->get_header_value(kSessionHeader)};
}

HttpReply RunningService::get(const std::string& pathAndQuery) const {
    httplib::Client client("127.0.0.1", port_);
    const auto result = client.Get(pathAndQuery.c_str());
    if (!result) return {};
    return {result->status, result->body, {}};
}

std::string RunningService::post(const std::string& endpoint, const Fields& fields) const {
    const auto reply = postRaw(endpoint, clientFormBody(fields));
    EXPECT_EQ(reply.status, 200) << endpoint;
    return reply.body;
}

std::string RunningService::registerUser(const std::string& nm, const std::string& password) const {
    const std::string digest = passwordDigest(password);
    EXPECT_EQ(post("reg.php", {{"nm", nm}, {"pw", digest}, {"shouji", "13800000000"}, {"youxiang", ""}}), "ok");
    return digest;
}

std::string RunningService::logIn(const std::string& nm, const std::string& digest) const {
    const auto reply = postRaw("login.php", clientFormBody({{"nm", nm}, {"pw", digest}}));
    EXPECT_TRUE(reply.body.starts_with("ok")) << nm << ": " << reply.body;
    return reply.sessionToken;
}

ServiceProcess startServiceBinary(const std::vector<std::string>& args, bool withErrors) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        if (withErrors) {
            dup2(pipeFds[1], STDERR_FILENO);
        } else {
            const int devnull = open("/dev/null", O_WRONLY);
            dup2(devnull, STDERR_FILENO);
        }
        close(pipeFds[0]);
        std::vector<char*> argv{const_cast<char*>(CASESERVICE_BINARY)};
        for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(CASESERVICE_BINARY, argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    return {pid, fdopen(pipeFds[0], "r")};
}

int waitForExit(pid_t pid, std::chrono::milliseconds within) {
    // The process descriptor turns readable when the child ends: waited for, never polled.
    const int exited = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    pollfd watch{exited, POLLIN, 0};
    const bool ended = exited >= 0 && poll(&watch, 1, static_cast<int>(within.count())) == 1;
    if (exited >= 0) close(exited);
    if (!ended) kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!ended) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int announcedPort(const ServiceProcess& process) {
    char line[512] = {};
    if (!process.out || !fgets(line, sizeof line, process.out)) return -1;
    const std::string message(line);
    const auto at = message.find("://127.0.0.1:");
    return at == std::string::npos ? -1 : std::atoi(message.c_str() + at + 13);
}

bool becomes(const std::function<bool()>& condition, std::chrono::milliseconds within) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

long long metricValue(const std::string& metrics, const std::string& name) {
    const std::string line = "\n" + name + " ";
    const auto at = ("\n" + metrics).find(line);
    return at == std::string::npos ? -1 : std::atoll(metrics.c_str() + at + line.size() - 1);
}

std::string clientFormBody(const Fields& fields) {
    std::string body;
    for (const auto& [name, value] : fields) {
        if (!body.empty()) body += '&';
        body += encodePart(name) + "=" + encodePart(value);
    }
    return body;
}

std::string passwordDigest(const std::string& password) {
    std::string ascii;
    for (const char c : password) ascii += static_cast<unsigned char>(c) < 0x80 ? c : '?';
    return md5Hex(md5Hex(ascii));
}

std::vector<std::vector<std::string>> readList(std::string reply, std::size_t width, std::size_t cap) {
    const auto takeField = [&reply]() {
        const auto at = reply.find("<t>");
        std::string field = reply.substr(0, at);
        reply.erase(0, at == std::string::npos ? reply.size() : at + 3);
        return field;
    };
    std::vector<std::vector<std::string>> rows;
    takeField();
    while (reply.size() > 3 && rows.size() < cap) {
        std::vector<std::string> row;
        for (std::size_t i = 0; i < width; ++i) row.push_back(takeField());
        rows.push_back(row);
        while (reply.starts_with("<t>")) reply.erase(0, 3);
    }
    return rows;
}

std::string urlDecode(const std::string& text) {
    std::u16string units;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%') {
            if (i + 4 >= text.size()) throw std::invalid_argument("Invalid hex digit in URL");
            const std::string hex = text.substr(i + 1, 4);
            if (hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
                throw std::invalid_argument("Invalid hex digit in URL");
            units += static_cast<char16_t>(std::stoul(hex, nullptr, 16));
            i += 4;
        } else {
            units += static_cast<char16_t>(text[i] == '+' ? ' ' : static_cast<unsigned char>(text[i]));
        }
    }
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::uint32_t code = units[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < units.size())
            code = 0x10000 + ((code - 0xD800) << 10) + (units[++i] - 0xDC00);
        appendUtf8(out, code);
    }
    return out;
}

Fields caseFields(const std::string& nm, const std::string& bianhao, const std::string& subject,
                  const std::string& categoryId, const std::string& year, const std::string& month) {
    return {{"nm", nm},
            {"save_gua_ming", "主卦：乾为天 变卦：天风姤"},
            {"save_gua_bianhao", bianhao},
            {"save_lei_id", categoryId},
            {"save_nian", year},
            {"save_yue", month},
            {"save_ri", "15"},
            {"save_xingbie", "男"},
            {"save_chusheng", "1980"},
            {"save_shiyou", subject}};
}

}  // namespace qinglan::caseservice::testing
