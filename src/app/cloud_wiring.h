#pragma once
// The account side of a run: the exchange with the case service, the session, the account and
// the cloud cases, the login and password windows, and what a login switches on in the current
// case and the main window.
#include <QUrl>

#include "cloud/account.h"
#include "cloud/cloud_case_service.h"
#include "cloud/cloud_session.h"
#include "cloud/http_exchange.h"
#include "cloud/self_update.h"
#include "cloud/system_keyring.h"
#include "ui/cloud/login_window.h"
#include "ui/cloud/password_window.h"
#include "ui/common/request_guard.h"

#include <functional>

namespace ui {
class MainWindow;
}
namespace workbench {
class Workbench;
}

namespace app {

class CloudWiring {
public:
    // serviceAddress as resolveServiceAddress gives it; an invalid address leaves the run local.
    // programPath: the running program file, for the update offered at login.
    CloudWiring(store::Database& db, workbench::Workbench& bench, ui::MainWindow& window, const QUrl& serviceAddress,
                const QString& programPath);

    // Offers the login window once per run (the casting dialog calls this when it is first
    // shown); true when the run is logged in.
    bool offerLogin();
    bool loggedIn() const { return session_.loggedIn(); }
    // Ends the session at the service (the program is closing); done runs once it has answered.
    // False when nothing was sent (logged out): done is not called then.
    bool logOut(std::function<void()> done);

    cloud::Account& account() { return account_; }
    cloud::HttpExchange& exchange() { return exchange_; }
    cloud::CloudCaseService& cloudCases() { return cloudCases_; }
    ui::LoginWindow& loginWindow() { return loginWindow_; }
    ui::PasswordWindow& passwordWindow() { return passwordWindow_; }

private:
    void loggedInNow();

    workbench::Workbench& bench_;
    ui::MainWindow& window_;
    bool usable_;
    bool offered_ = false;
    cloud::HttpExchange exchange_;
    cloud::CloudSession session_;
    cloud::SystemKeyring keyring_;
    cloud::Account account_;
    cloud::CloudCaseService cloudCases_;
    cloud::SelfUpdate update_;
    ui::LoginWindow loginWindow_;
    ui::PasswordWindow passwordWindow_;
    ui::RequestGuard guard_;
};

}  // namespace app
