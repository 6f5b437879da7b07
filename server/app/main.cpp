// qinglan-caseservice: the case service the desktop program's cloud features talk to.
#include "app/open_repository.h"
#include "app/service_options.h"
#include "auth/password_auth.h"
#include "http/http_frontend.h"
#include "migration/sqlite_to_pg_migration.h"
#include "service/case_service.h"
#include "store/store_location.h"
#include "web/web_frontend.h"

#include <pthread.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iostream>
#include <mutex>
#include <sstream>
#include <thread>

using namespace qinglan::caseservice;

namespace {

// A PEM file of at most 1 MiB; throws naming the file when it cannot be read.
std::string readPem(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::string text(1024 * 1024 + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > 1024 * 1024 || text.find("-----BEGIN ") == std::string::npos)
        throw std::runtime_error(path + " is not a PEM file");
    return text;
}

// --migrate-from sqlite:FILE --db postgresql://...: the exit status.
int migrate(const std::string& from, const StoreLocation& to) {
    std::string error;
    const auto source = parseStoreLocation(from, error);
    if (!source || source->kind != StoreKind::Sqlite || to.kind != StoreKind::Postgresql) {
        std::cerr << "qinglan-caseservice: --migrate-from wants sqlite:FILE and --db a postgresql:// URI\n";
        return 2;
    }
    try {
        for (const auto& table : migrateSqliteToPostgres(source->where, to.where))
            std::cout << table.table << ": " << table.inFile << " in " << source->where << ", " << table.copied
                      << " copied, " << table.inFile - table.copied << " were there already\n";
        std::cout << "verified: " << describeStoreLocation(to) << " holds every row of " << source->where
                  << " with the same texts" << std::endl;
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "qinglan-caseservice: migration failed, nothing was changed: " << e.what() << '\n';
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Without the allocator's statistics, SQLite's allocations from the worker threads take no
    // process-wide lock. Must precede the library's initialisation.
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto command = parseServiceCommand(args, error);
    if (!command) {
        std::cerr << "qinglan-caseservice: " << error << " (see qinglan-caseservice --help)\n";
        return 2;
    }
    if (command->action == ServiceCommand::Action::Help) {
        std::cout << serviceHelp();
        return 0;
    }
    if (command->action == ServiceCommand::Action::Version) {
        std::cout << serviceVersion() << '\n';
        return 0;
    }
    for (const auto& warning : command->warnings) std::cerr << "qinglan-caseservice: warning: " << warning << '\n';
    const ServiceOptions* options = &command->options;

    const auto location = parseStoreLocation(options->db, error);
    if (!location) {
        std::cerr << "qinglan-caseservice: " << error << '\n';
        return 2;
    }
    if (!options->migrateFrom.empty()) return migrate(options->migrateFrom, *location);

    // Every connection takes a descriptor: allow as many as the system lets this process have.
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }

    // SIGINT and SIGTERM are taken by one thread with sigwait; every other thread,
    // the workers included, inherits the blocked mask. It is there from the start: opening the
    // database may take long (an index built for a file of an earlier version), and a stop
    // then ends the process at once. That opening is one transaction, undone when the file is
    // next opened, so nothing is left half-written.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    struct StopTarget {
        std::mutex mutex;
        bool opening = true;
        CaseRepository* store = nullptr;
        HttpFrontend* frontend = nullptr;
    } stopTarget;
    std::atomic<bool> finished{false};
    std::thread waiter([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        if (finished) return;
        std::lock_guard lock(stopTarget.mutex);
        if (stopTarget.opening) {
            std::cerr << "qinglan-caseservice: stopped while opening the database; it is as it was before\n";
            std::_Exit(1);
        }
        if (!stopTarget.frontend) return;
        // Statements under way end at their next step; the front end then winds down.
        stopTarget.store->interruptQueries();
        stopTarget.frontend->stop();
    });
    struct WaiterEnd {
        std::thread& waiter;
        std::atomic<bool>& finished;
        ~WaiterEnd() {
            finished = true;
            pthread_kill(waiter.native_handle(), SIGTERM);
            waiter.join();
        }
    } waiterEnd{waiter, finished};

    try {
        FrontendSettings settings;
        settings.threads = options->threads;
        settings.updateFile = options->updateFile;
        settings.perAddressConnections = options->perAddressConnections;
        settings.trustForwardedFor = options->behindProxy;
        settings.accessLog = true;
        if (!options->tlsCertificateFile.empty()) {
            settings.tlsCertificate = readPem(options->tlsCertificateFile);
            settings.tlsKey = readPem(options->tlsKeyFile);
        }
        StoreOpening opening;
        opening.connections = options->threads + static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
        const auto store = openCaseRepository(*location, opening);
        {
            std::lock_guard lock(stopTarget.mutex);
            stopTarget.opening = false;
        }
        PasswordAuth auth(*store, options->pwhash);
        CaseService service(*store, auth, options->notice);
        WebFrontend web(service, defaultPageFolder());
        settings.web = [&web](const WebRequest& request) { return web.answer(request); };
        HttpFrontend frontend(service, settings);
        // Whatever way this block is left, the waiter no longer reaches the store and front end.
        struct Detach {
            StopTarget& target;
            ~Detach() {
                std::lock_guard lock(target.mutex);
                target.store = nullptr;
                target.frontend = nullptr;
            }
        } detach{stopTarget};
        std::string bindError;
        const int port = frontend.bind(options->host, options->port, bindError);
        if (port < 0) {
            std::cerr << "qinglan-caseservice: cannot listen on " << options->host << ':' << options->port << ": "
                      << bindError << '\n';
            return 1;
        }
        {
            std::lock_guard lock(stopTarget.mutex);
            stopTarget.store = store.get();
            stopTarget.frontend = &frontend;
        }
        const char* scheme = settings.tlsCertificate.empty() ? "http" : "https";
        std::cout << "qinglan-caseservice listening on " << scheme << "://" << options->host << ':' << port
                  << "/ (database " << describeStoreLocation(*location) << ")" << std::endl;
        const bool clean = frontend.run();
        std::cout << "qinglan-caseservice stopped" << std::endl;
        return clean ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "qinglan-caseservice: " << e.what() << '\n';
        return 1;
    }
}
