// qinglan-caseservice: the case service the desktop program's cloud features talk to.
#include "app/open_repository.h"
#include "app/service_options.h"
#include "auth/password_auth.h"
#include "http/http_frontend.h"
#include "http/listen_socket.h"
#include "http/metrics_listener.h"
#include "http/tls_credentials.h"
#include "migration/sqlite_to_pg_migration.h"
#include "service/case_service.h"
#include "store/store_location.h"
#include "web/web_frontend.h"

#include <malloc.h>
#include <pthread.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <iostream>
#include <mutex>
#include <sstream>
#include <thread>

using namespace qinglan::caseservice;

namespace {

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
    // Request bodies (up to 1 MiB) get mappings of their own, returned to the system when
    // freed. Without a fixed threshold the allocator raises it after the first such free, and a
    // burst of uploads then leaves hundreds of MiB resident in its free lists.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
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

    // SIGINT and SIGTERM (stop) and SIGHUP (read the certificate again) are taken by one thread
    // with sigwait; every other thread, the workers included, inherits the blocked mask. It is
    // there from the start: opening the database may take long (an index built for a file of an
    // earlier version), and a stop then ends the process at once. That opening is one
    // transaction, undone when the file is next opened, so nothing is left half-written.
    sigset_t handledSignals;
    sigemptyset(&handledSignals);
    sigaddset(&handledSignals, SIGINT);
    sigaddset(&handledSignals, SIGTERM);
    sigaddset(&handledSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &handledSignals, nullptr);
    struct StopTarget {
        std::mutex mutex;
        bool opening = true;
        CaseRepository* store = nullptr;
        HttpFrontend* frontend = nullptr;
    } stopTarget;
    std::shared_ptr<TlsCredentials> tls;
    if (!options->tlsCertificateFile.empty()) {
        tls = TlsCredentials::fromFiles(options->tlsCertificateFile, options->tlsKeyFile, error);
        if (!tls) {
            std::cerr << "qinglan-caseservice: " << error << '\n';
            return 1;
        }
    }
    // Refused before the database is opened, so a refused start leaves no file behind.
    if (!tls && !options->insecureHttp) {
        if (const auto loopback = isLoopbackHost(options->host, error); loopback && !*loopback) {
            std::cerr << "qinglan-caseservice: " << kPlainHttpBeyondLoopback << '\n';
            return 1;
        }
    }
    std::atomic<bool> finished{false};
    std::thread waiter([&] {
        int signal = 0;
        while (sigwait(&handledSignals, &signal) == 0 && !finished && signal == SIGHUP) {
            // One write per line, as the access log does.
            std::string line = "qinglan-caseservice: SIGHUP: ";
            std::string why;
            if (!tls)
                line += "no TLS certificate to read again (plain HTTP)";
            else if (tls->reload(why))
                line += "now serving the TLS certificate " + tls->describe();
            else
                line += "kept the TLS certificate in use (" + tls->describe() + "): " + why;
            line += '\n';
            std::fwrite(line.data(), 1, line.size(), stderr);
        }
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
        settings.tls = tls;
        if (!options->tlsPriorities.empty()) settings.tlsPriorities = options->tlsPriorities;
        settings.plainHttpBeyondLoopback = options->insecureHttp;
        settings.logClientAddress = options->logClientAddress;
        settings.headDeadline = std::chrono::seconds(options->headDeadlineSeconds);
        settings.bodyBudget = std::size_t{options->bodyBudgetMiB} * 1024 * 1024;
        StoreOpening opening;
        opening.connections = options->threads + static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
        const auto store = openCaseRepository(*location, opening);
        {
            std::lock_guard lock(stopTarget.mutex);
            stopTarget.opening = false;
        }
        PasswordAuth auth(*store, options->pwhash);
        CaseService service(*store, auth, options->notice, options->quotas);
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
        MetricsListener metrics([&frontend] { return frontend.metrics(); });
        const int metricsPort =
            options->metricsHost.empty() ? 0 : metrics.bind(options->metricsHost, options->metricsPort, bindError);
        if (metricsPort < 0) {
            std::cerr << "qinglan-caseservice: cannot serve the metrics on " << options->metricsHost << ':'
                      << options->metricsPort << ": " << bindError << '\n';
            return 1;
        }
        {
            std::lock_guard lock(stopTarget.mutex);
            stopTarget.store = store.get();
            stopTarget.frontend = &frontend;
        }
        const char* scheme = tls ? "https" : "http";
        std::cout << "qinglan-caseservice listening on " << scheme << "://" << options->host << ':' << port
                  << "/ (database " << describeStoreLocation(*location) << ")" << std::endl;
        if (metricsPort > 0)
            std::cout << "qinglan-caseservice metrics on http://"
                      << (options->metricsHost.find(':') != std::string::npos ? "[" + options->metricsHost + "]"
                                                                              : options->metricsHost)
                      << ':' << metricsPort << "/metrics" << std::endl;
        const bool clean = frontend.run();
        std::cout << "qinglan-caseservice stopped" << std::endl;
        return clean ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "qinglan-caseservice: " << e.what() << '\n';
        return 1;
    }
}
