#include "cloud/cloud_session.h"

namespace cloud {

QString CloudSession::postPlain(const QString& endpoint, const QStringList& fields) {
    return exchange_.post_http(address(endpoint), fields);
}

QString CloudSession::post(const QString& endpoint, QStringList fields) {
    if (loggedIn_) fields.append(QStringLiteral("pw=") + digest_);
    return postPlain(endpoint, fields);
}

}  // namespace cloud
