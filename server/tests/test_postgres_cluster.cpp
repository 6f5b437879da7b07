#include "test_postgres_cluster.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace qinglan::caseservice::testing {

namespace {

constexpr const char* kSuperuser = "qinglan";

// The newest server programs of Debian's postgresql packages.
std::filesystem::path serverPrograms() {
    std::filesystem::path best;
    int bestVersion = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/postgresql", error)) {
        const int version = std::atoi(entry.path().filename().c_str());
        if (version > bestVersion && std::filesystem::exists(entry.path() / "bin" / "pg_ctl")) {
            bestVersion = version;
            best = entry.path() / "bin";
        }
    }
    if (best.empty())
        throw std::runtime_error("no PostgreSQL server programs under /usr/lib/postgresql (install postgresql)");
    return best;
}

int freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    if (port == 0) throw std::runtime_error("no free port on 127.0.0.1");
    return port;
}

// The account the server runs as when we are root: "postgres" when there is one, else
// a system account made for it.
std::string serverAccount() {
    for (const char* name : {"postgres", "qinglan-pgtest"})
        if (::getpwnam(name)) return name;
    if (std::system("useradd --system --no-create-home --shell /usr/sbin/nologin qinglan-pgtest >/dev/null 2>&1") !=
            0 ||
        !::getpwnam("qinglan-pgtest"))
        throw std::runtime_error("running as root, and no account to run PostgreSQL as (useradd failed)");
    return "qinglan-pgtest";
}

std::string tail(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    return all.size() > 2000 ? all.substr(all.size() - 2000) : all;
}

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace

TestPostgres& TestPostgres::instance() {
    static TestPostgres cluster;
    return cluster;
}

TestPostgres::TestPostgres() : bin_(serverPrograms()) {
    char pattern[] = "/tmp/qinglan-pg-XXXXXX";
    if (!::mkdtemp(pattern)) throw std::runtime_error("cannot make a temporary folder");
    dir_ = pattern;
    if (::geteuid() == 0) {
        const std::string account = serverAccount();
        const passwd* user = ::getpwnam(account.c_str());
        if (::chown(dir_.c_str(), user->pw_uid, user->pw_gid) != 0)
            throw std::runtime_error("cannot give " + dir_.string() + " to " + account);
        runAs_ = "runuser -u " + account + " -- ";
    }
    port_ = freePort();
    const auto data = dir_ / "data";
    run(runAs_ + (bin_ / "initdb").string() + " -D " + data.string() + " -U " + kSuperuser +
        " --auth=trust -E UTF8 --locale=C.UTF-8 --no-sync");
    // Durability is of no use for a cluster thrown away after the tests.
    const std::string settings = "-c listen_addresses=127.0.0.1 -p " + std::to_string(port_) + " -k " + dir_.string() +
                                 " -c fsync=off -c synchronous_commit=off -c full_page_writes=off"
                                 " -c max_connections=300";
    try {
        run(runAs_ + (bin_ / "pg_ctl").string() + " -D " + data.string() + " -l " + (dir_ / "server.log").string() +
            " -w -t 60 -o " + quoted(settings) + " start");
    } catch (const std::exception& e) {
        throw std::runtime_error(std::string(e.what()) + "\nserver log:\n" + tail(dir_ / "server.log"));
    }
    started_ = true;
}

TestPostgres::~TestPostgres() {
    if (started_) {
        const std::string stop = runAs_ + (bin_ / "pg_ctl").string() + " -D " + (dir_ / "data").string() +
                                 " -m immediate -w stop >/dev/null 2>&1";
        [[maybe_unused]] const int ignored = std::system(stop.c_str());
    }
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

std::string TestPostgres::run(const std::string& command) const {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen((command + " 2>&1").c_str(), "r"), &::pclose);
    if (!pipe) throw std::runtime_error("cannot run " + command);
    std::string output;
    std::array<char, 4096> buffer{};
    while (const auto n = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) output.append(buffer.data(), n);
    const int status = ::pclose(pipe.release());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("PostgreSQL for the tests: `" + command + "` failed: " + output);
    return output;
}

std::string TestPostgres::uri(const std::string& database) const {
    return "postgresql://" + std::string(kSuperuser) + "@127.0.0.1:" + std::to_string(port_) + "/" + database;
}

std::string TestPostgres::psql(const std::string& database, const std::string& sql) const {
    return run((bin_ / "psql").string() + " -X -q -A -t -v ON_ERROR_STOP=1 -d " + quoted(uri(database)) + " -c " +
               quoted(sql));
}

std::string TestPostgres::freshDatabase() {
    const std::string name = "cases_" + std::to_string(::getpid()) + "_" + std::to_string(++databases_);
    psql("postgres", "CREATE DATABASE " + name);
    return uri(name);
}

}  // namespace qinglan::caseservice::testing
