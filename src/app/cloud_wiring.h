#pragma once
// The account side of a run: the exchange with the case service, the session, the account and
// the cloud cases, the login and password windows, and what a login switches on in the main
// window and the case browser.
#include <QUrl>

#include "cloud/account.h"
#include "cloud/cloud_case_service.h"
#include "cloud/cloud_session.h"
#include "cloud/http_exchange.h"
#include "cloud/self_update.h"
#include "cloud_view/login_window.h"
#include "cloud_view/password_window.h"

namespace browser {
class CaseBrowser;
}

namespace app {

class MainWindow;
class Prompter;

class CloudWiring {
public:
    // serviceAddress as resolveServiceAddress gives it; an invalid address leaves the run local.
    // programPath: the running program file, for the update offered at login.
    CloudWiring(store::Database& db, MainWindow& window, Prompter& prompter, const QUrl& serviceAddress,
                const QString& programPath);

    // Offers the login window once per run (the casting dialog calls this when it is first
    // shown); true when the run is logged in.
    bool offerLogin();
    bool loggedIn() const { return session_.loggedIn(); }

    // The browser's cloud source: usable once logged in.
    void attachBrowser(browser::CaseBrowser& browser);

    cloud::Account& account() { return account_; }
    cloud::CloudCaseService& cloudCases() { return cloudCases_; }
    cloud_view::LoginWindow& loginWindow() { return loginWindow_; }
    cloud_view::PasswordWindow& passwordWindow() { return passwordWindow_; }

private:
    void loggedInNow();

    MainWindow& window_;
    bool usable_;
    bool offered_ = false;
    browser::CaseBrowser* browser_ = nullptr;
    cloud::HttpExchange exchange_;
    cloud::CloudSession session_;
    cloud::Account account_;
    cloud::CloudCaseService cloudCases_;
    cloud::SelfUpdate update_;
    cloud_view::LoginWindow loginWindow_;
    cloud_view::PasswordWindow passwordWindow_;
};

}  // namespace app
