#include "app/cloud_wiring.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>

#include "app/main_window.h"
#include "browser/case_browser.h"

namespace app {

CloudWiring::CloudWiring(store::Database& db, MainWindow& window, Prompter& prompter, const QUrl& serviceAddress,
                         const QString& programPath)
    : window_(window),
      usable_(serviceAddress.isValid()),
      exchange_({[] { QGuiApplication::setOverrideCursor(Qt::WaitCursor); },
                 [] { QGuiApplication::restoreOverrideCursor(); }}),
      session_(exchange_, serviceAddress),
      account_(session_, db),
      cloudCases_(session_),
      update_(session_, programPath),
      loginWindow_(account_, update_, prompter, &window),
      passwordWindow_(account_, prompter, &window) {
    // A password can only be changed for a logged-in user.
    window.settingsButton->setEnabled(false);
    QObject::connect(window.settingsButton, &QPushButton::clicked, &passwordWindow_, [this] {
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

void CloudWiring::loggedInNow() {
    window_.setCloudCases(&cloudCases_);
    window_.settingsButton->setEnabled(true);
    if (const auto& outcome = loginWindow_.outcome(); outcome && outcome->messageLabel) {
        window_.messageLabel->setText(*outcome->messageLabel);
        window_.messageLabel->setProperty("url", session_.messageUrl());
    }
    if (browser_) attachBrowser(*browser_);
}

void CloudWiring::attachBrowser(browser::CaseBrowser& browser) {
    browser_ = &browser;
    if (!loggedIn()) return;
    browser.setCloud(&cloudCases_, [this](qint64 id) { return window_.openCloudCase(id); });
}

}  // namespace app
