#pragma once
// One desktop program's cloud side as the windows will hold it: an exchange, the session of
// the run, its own local database (in memory unless given), the account (with the keyring
// given, or none), the case store and the cloud cases. Every operation that asks the service
// is started and then waited for (the test runs the event loop until its callback came), so a
// test reads as the user's steps one after another.
#include "cloud/account.h"
#include "cloud/cloud_case_service.h"
#include "store/case_history.h"
#include "store/case_store.h"
#include "store/database.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>
#include <memory>
#include <optional>

namespace cloud_test {

// Starts the operation (it gets the callback) and waits for its answer: at once when nothing
// was sent, else until the exchange has ended its requests and the callback has run.
template <class Result, class Start>
Result awaited(cloud::HttpExchange& exchange, Start start) {
    const auto result = std::make_shared<std::optional<Result>>();
    QSignalSpy settled(&exchange, &cloud::HttpExchange::busyChanged);
    start([result](const Result& answer) { *result = answer; });
    while (!*result && settled.wait(60000)) {
    }
    return result->value_or(Result{});
}

// Waits until every request under way has been answered and its answer handled, also one
// that an answer started.
inline void settle(cloud::HttpExchange& exchange) {
    QSignalSpy settled(&exchange, &cloud::HttpExchange::busyChanged);
    while (exchange.busy() && settled.wait(60000)) {
    }
}

struct WaitingAccount {
    cloud::HttpExchange& exchange;
    cloud::Account account;

    cloud::LoginMemory remembered() { return account.remembered(); }
    void setRememberLogin(bool on) { account.setRememberLogin(on); }
    cloud::LoginOutcome login(const cloud::LoginRequest& request) {
        return awaited<cloud::LoginOutcome>(exchange, [&](auto done) { account.login(request, done); });
    }
    cloud::RegistrationOutcome registerUser(const cloud::Registration& registration) {
        return awaited<cloud::RegistrationOutcome>(exchange,
                                                   [&](auto done) { account.registerUser(registration, done); });
    }
    cloud::PasswordChangeOutcome changePassword(const cloud::PasswordChange& change) {
        return awaited<cloud::PasswordChangeOutcome>(exchange,
                                                     [&](auto done) { account.changePassword(change, done); });
    }
};

struct WaitingCloudCases {
    cloud::HttpExchange& exchange;
    cloud::CloudCaseService service;

    template <class Result, class Start>
    Result wait(Start start) {
        return awaited<Result>(exchange, start);
    }
    cloud::CloudCaseRows recentCases() {
        return wait<cloud::CloudCaseRows>([&](auto done) { service.recentCases(done); });
    }
    cloud::CloudCaseRows searchCases(const QString& keyword) {
        return wait<cloud::CloudCaseRows>([&](auto done) { service.searchCases(keyword, done); });
    }
    cloud::CloudItems yearList(qint64 category) {
        return wait<cloud::CloudItems>([&](auto done) { service.yearList(category, done); });
    }
    cloud::CloudItems monthList(qint64 category, const QString& year) {
        return wait<cloud::CloudItems>([&](auto done) { service.monthList(category, year, done); });
    }
    cloud::CloudCaseRows casesOfMonth(qint64 category, const QString& year, const QString& month) {
        return wait<cloud::CloudCaseRows>([&](auto done) { service.casesOfMonth(category, year, month, done); });
    }
    cloud::CloudCaseTexts caseTexts(qint64 id) {
        return wait<cloud::CloudCaseTexts>([&](auto done) { service.caseTexts(id, done); });
    }
    cloud::CloudLoad loadCloudCase(qint64 id, store::CaseStore& store) {
        return wait<cloud::CloudLoad>([&](auto done) { service.loadCloudCase(id, store, done); });
    }
};

// The case store as the current case drives it while logged in: stored here, then sent.
struct CloudCreate {
    bool stored = false;
    QString cloudMessage;
};

struct WaitingCases {
    store::CaseStore local;
    WaitingCloudCases* cloud = nullptr;  // while logged in

    const store::CaseRecord& record() const { return local.record(); }
    CloudCreate createCase(const store::CastCase& cast) {
        const store::CreateResult created = local.createCase(cast);
        if (!cloud || !created.stored) return {created.stored, {}};
        const auto sent =
            cloud->wait<cloud::CloudSave>([&](auto done) { cloud->service.saveNewCase(local.record(), done); });
        return {true, sent.message};
    }
    store::SaveResult saveCaseTexts(store::TextsToSave which, const store::CaseTexts& texts) {
        const store::SaveResult saved = local.saveCaseTexts(which, texts);
        if (!cloud || !saved.saved) return saved;
        const auto sent = cloud->wait<cloud::CloudSave>(
            [&](auto done) { cloud->service.saveTexts(local.record(), texts, which, done); });
        return {sent.saved, sent.message};
    }
    operator store::CaseStore&() { return local; }
};

// Renames through the service first (cloud not null), then here.
inline QString renameCategory(store::CaseLists& lists, WaitingCloudCases* cloud, qint64 categoryId, const QString& name,
                              cloud::HttpExchange* exchange = nullptr) {
    if (cloud) exchange = &cloud->exchange;
    const auto start = [&](auto done) {
        cloud::renameCategory(lists, cloud ? &cloud->service : nullptr, categoryId, name, done);
    };
    if (!exchange) {
        cloud::CloudSave renamed;
        start([&renamed](const cloud::CloudSave& answer) { renamed = answer; });
        return renamed.message;
    }
    return awaited<cloud::CloudSave>(*exchange, start).message;
}

struct DesktopClient {
    explicit DesktopClient(const QUrl& service) : DesktopClient(service, store::Database::openInMemory()) {}
    // tokenFolder: where the device's token file goes without a keyring; a folder of the
    // client's own when not given.
    DesktopClient(const QUrl& service, std::unique_ptr<store::Database> database,
                  const cloud::SystemKeyring* keyring = nullptr, const QString& tokenFolder = {})
        : session(exchange, service),
          db(std::move(database)),
          account{exchange, cloud::Account(session, *db, keyring,
                                           tokenFolder.isEmpty() ? ownFolder.filePath("login") : tokenFolder)},
          cases{store::CaseStore(*db, history)},
          cloudCases{exchange, cloud::CloudCaseService(session)},
          lists(*db) {}

    // Registers (when asked) and logs in; the case store then saves to the service too.
    bool logIn(const QString& name, const QString& password, bool registerFirst = true) {
        if (registerFirst) account.registerUser({name, password, password, "13800000000", ""});
        const bool in = account.login({name, password, false}).loggedIn;
        if (in) cases.cloud = &cloudCases;
        return in;
    }
    // Ends the session at the service and waits for its answer.
    void logOut() {
        QSignalSpy settled(&exchange, &cloud::HttpExchange::busyChanged);
        if (session.logOut()) settled.wait(60000);
    }

    QTemporaryDir ownFolder;
    cloud::HttpExchange exchange;
    cloud::CloudSession session;
    std::unique_ptr<store::Database> db;
    WaitingAccount account;
    store::CaseHistory history;
    WaitingCases cases;
    WaitingCloudCases cloudCases;
    store::CaseLists lists;
};

}  // namespace cloud_test
