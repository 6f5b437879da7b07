#include "app/cloud_wiring.h"


#include "ui/main/main_window.h"
#include "workbench/workbench.h"

namespace app {

CloudWiring::CloudWiring(store::Database& db, workbench::Workbench& bench, ui::MainWindow& window,
                         const QUrl& serviceAddress, const QString& programPath)
    : bench_(bench),
      window_(window),
      usable_(serviceAddress.isValid()),
      session_(exchange_, serviceAddress),
      account_(session_, db, &keyring_),
      cloudCases_(session_),
      update_(session_, programPath),
      loginWindow_(account_, update_, bench.prompter(), &window),
      passwordWindow_(account_, bench.prompter(), &window),
      guard_([this] { session_.cancel(); }) {
    QObject::connect(&exchange_, &cloud::HttpExchange::busyChanged, &guard_, &ui::RequestGuard::setBusy);
    // A password an earlier version kept as typed is rewritten now, whether or not the run logs
    // in; when the database refuses, the login window tries again.
    try {
        account_.remembered();
    } catch (const store::DatabaseError&) {
    }
    // A password can only be changed for a logged-in user.
    window.setAccountActionsEnabled(false);
    QObject::connect(&window, &ui::MainWindow::passwordChangeRequested, &passwordWindow_, [this] {
        passwordWindow_.show();
        passwordWindow_.raise();
    });
}

bool CloudWiring::offerLogin() {
    if (offered_ || !usable_) return loggedIn();
    offered_ = true;
    loginWindow_.fillRemembered();
    if (loginWindow_.exec() == QDialog::Accepted && session_.loggedIn()) loggedInNow();
    return loggedIn();
}

bool CloudWiring::logOut(std::function<void()> done) { return session_.logOut(std::move(done)); }

void CloudWiring::loggedInNow() {
    bench_.setCloudCases(&cloudCases_);
    window_.setAccountActionsEnabled(true);
    if (const auto& outcome = loginWindow_.outcome(); outcome && outcome->messageLabel)
        window_.showServiceMessage(*outcome->messageLabel, session_.messageUrl());
}

}  // namespace app
