#include "cloud/cloud_session.h"

namespace cloud {

void CloudSession::postPlain(const QString& endpoint, const QStringList& fields, ExchangeDone done) {
    if (!transportProblem().isEmpty()) {
        done(ExchangeResult{ExchangeFailure::Transport, {}, {}, 0});
        return;
    }
    exchange_.post(address(endpoint), fields, std::move(done));
}

void CloudSession::post(const QString& endpoint, QStringList fields, ExchangeDone done) {
    if (loggedIn_) fields.append(QStringLiteral("pw=") + token_);
    postPlain(endpoint, fields, std::move(done));
}

bool CloudSession::logOut(std::function<void()> done) {
    if (!loggedIn_ || !transportProblem().isEmpty()) {
        loggedIn_ = false;
        token_.clear();
        return false;
    }
    post(QStringLiteral("logout.php"), {QStringLiteral("nm=") + userName_}, [done](const ExchangeResult&) {
        if (done) done();
    });
    loggedIn_ = false;
    token_.clear();
    return true;
}

}  // namespace cloud
