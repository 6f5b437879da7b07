#pragma once
// The account state of the run and the way to the case service: its address, the exchange, and
// the credentials every request after login carries.
#include "cloud/http_exchange.h"

#include <QString>
#include <QStringList>
#include <QUrl>

namespace cloud {

class CloudSession {
public:
    // serviceAddress as resolveServiceAddress gives it (ending with "/").
    CloudSession(HttpExchange& exchange, QUrl serviceAddress)
        : exchange_(exchange), serviceAddress_(std::move(serviceAddress)) {}

    // 1 after a successful login, for the rest of the run; there is no logout.
    bool loggedIn() const { return loggedIn_; }
    const QString& userName() const { return userName_; }
    // The link received at login, opened by a click on the message label.
    const QString& messageUrl() const { return messageUrl_; }

    // The address of a path (and query) under the service address.
    QUrl address(const QString& pathAndQuery) const { return serviceAddress_.resolved(QUrl(pathAndQuery)); }
    HttpExchange& exchange() { return exchange_; }

    // Posts the fields to the endpoint as they are.
    QString postPlain(const QString& endpoint, const QStringList& fields);
    // Posts the fields to the endpoint; after login "pw=" + the password digest goes last, which
    // is how the service tells that the "nm=" field is the user's own.
    QString post(const QString& endpoint, QStringList fields);

    // Set by the account operations.
    void logIn(const QString& userName, const QString& digest) {
        loggedIn_ = true;
        userName_ = userName;
        digest_ = digest;
    }
    void setMessageUrl(const QString& url) { messageUrl_ = url; }
    void setDigest(const QString& digest) { digest_ = digest; }

private:
    HttpExchange& exchange_;
    QUrl serviceAddress_;
    bool loggedIn_ = false;
    QString userName_;
    QString messageUrl_;
    QString digest_;
};

}  // namespace cloud
