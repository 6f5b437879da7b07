#include "cloud/cloud_session.h"

#include "cloud/reply_reading.h"

namespace cloud {

QString CloudSession::postPlain(const QString& endpoint, const QStringList& fields) {
    if (!transportProblem().isEmpty()) return kNetError;
    return exchange_.postHttp(address(endpoint), fields);
}

QString CloudSession::post(const QString& endpoint, QStringList fields) {
    if (loggedIn_) fields.append(QStringLiteral("pw=") + token_);
    return postPlain(endpoint, fields);
}

void CloudSession::logOut() {
    if (loggedIn_) post(QStringLiteral("logout.php"), {QStringLiteral("nm=") + userName_});
    loggedIn_ = false;
    token_.clear();
}

}  // namespace cloud
