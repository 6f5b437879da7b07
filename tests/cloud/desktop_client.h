#pragma once
// One desktop program's cloud side as the windows will hold it: an exchange, the session of
// the run, its own local database (in memory unless given), the account (with the keyring
// given, or none), the case store and the cloud cases.
#include "cloud/account.h"
#include "cloud/cloud_case_service.h"
#include "store/case_history.h"
#include "store/case_store.h"
#include "store/database.h"

#include <QUrl>
#include <memory>

namespace cloud_test {

struct DesktopClient {
    explicit DesktopClient(const QUrl& service) : DesktopClient(service, store::Database::openInMemory()) {}
    DesktopClient(const QUrl& service, std::unique_ptr<store::Database> database,
                  const cloud::SystemKeyring* keyring = nullptr)
        : session(exchange, service),
          db(std::move(database)),
          account(session, *db, keyring),
          cases(*db, history),
          cloudCases(session),
          lists(*db) {}

    // Registers (when asked) and logs in; the case store then saves to the service first.
    bool logIn(const QString& name, const QString& password, bool registerFirst = true) {
        if (registerFirst) account.registerUser({name, password, password, "13800000000", ""});
        const bool in = account.login({name, password, false}).loggedIn;
        if (in) cases.setCloud(&cloudCases);
        return in;
    }

    cloud::HttpExchange exchange;
    cloud::CloudSession session;
    std::unique_ptr<store::Database> db;
    cloud::Account account;
    store::CaseHistory history;
    store::CaseStore cases;
    cloud::CloudCaseService cloudCases;
    store::CaseLists lists;
};

}  // namespace cloud_test
