#pragma once
// The account state of the run and the way to the case service: its address, the exchange, and
// the session token every request after login carries (the password digest itself is sent
// only to log in and to change the password).
#include "cloud/http_exchange.h"
#include "cloud/service_address.h"

#include <QString>
#include <QStringList>
#include <QUrl>

namespace cloud {

class CloudSession {
public:
    // serviceAddress as resolveServiceAddress gives it (ending with "/").
    CloudSession(HttpExchange& exchange, QUrl serviceAddress)
        : exchange_(exchange), serviceAddress_(std::move(serviceAddress)) {}

    // 1 after a successful login, until logOut.
    bool loggedIn() const { return loggedIn_; }
    const QString& userName() const { return userName_; }
    // The link received at login, opened by a click on the message label.
    const QString& messageUrl() const { return messageUrl_; }

    const QUrl& serviceAddress() const { return serviceAddress_; }
    // The address of a path (and query) under the service address.
    QUrl address(const QString& pathAndQuery) const { return serviceAddress_.resolved(QUrl(pathAndQuery)); }
    HttpExchange& exchange() { return exchange_; }

    // Why nothing carrying a password or token may be sent to the address; empty when it may.
    QString transportProblem() const { return insecureAddressMessage(serviceAddress_); }

    // Posts the fields to the endpoint as they are; fails at once, without sending anything,
    // when the address is one credentials may not go to.
    void postPlain(const QString& endpoint, const QStringList& fields, ExchangeDone done);
    // Posts the fields to the endpoint; after login "pw=" + the session token goes last, which
    // is how the service tells that the "nm=" field is the user's own.
    void post(const QString& endpoint, QStringList fields, ExchangeDone done);
    // Gives up every request of the session in flight (the user cancelled).
    void cancel() { exchange_.cancel(); }

    // Set by the account operations.
    void logIn(const QString& userName, const QString& sessionToken) {
        loggedIn_ = true;
        userName_ = userName;
        token_ = sessionToken;
    }
    void setMessageUrl(const QString& url) { messageUrl_ = url; }
    void setSessionToken(const QString& sessionToken) { token_ = sessionToken; }
    // Ends the session here and at the service (logout.php); the run is then local. done runs
    // once the service has answered (or not); false when nothing was sent (done is not called).
    bool logOut(std::function<void()> done = {});

private:
    HttpExchange& exchange_;
    QUrl serviceAddress_;
    bool loggedIn_ = false;
    QString userName_;
    QString messageUrl_;
    QString token_;
};

}  // namespace cloud
