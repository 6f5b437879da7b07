#include "cloud/service_address.h"

#include <QCoreApplication>
#include <QHostAddress>

namespace cloud {
namespace {

QString configuredText(const QStringList& arguments, const QProcessEnvironment& environment) {
    const QString option = QStringLiteral("--service");
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == option && i + 1 < arguments.size()) return arguments[i + 1];
        if (arguments[i].startsWith(option + u'=')) return arguments[i].mid(option.size() + 1);
    }
    const QString fromEnvironment = environment.value(QStringLiteral("QINGLAN_SERVICE"));
    return fromEnvironment.isEmpty() ? kDefaultServiceAddress : fromEnvironment;
}

}  // namespace

ServiceAddress resolveServiceAddress(const QStringList& arguments, const QProcessEnvironment& environment) {
    const QString text = configuredText(arguments, environment).trimmed();
    QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || (scheme != u"http" && scheme != u"https") || url.host().isEmpty() || url.hasQuery() ||
        url.hasFragment() || !url.userInfo().isEmpty())
        return {QUrl(), QCoreApplication::translate("cloud::ServiceAddress",
                                                    "网络服务地址无效：%1（应以 http:// 或 https:// 开头）")
                            .arg(text)};
    if (!credentialsMayGoTo(url)) return {QUrl(), insecureAddressMessage(url)};
    if (!url.path().endsWith(u'/')) url.setPath(url.path() + u'/');
    return {url, QString()};
}

bool credentialsMayGoTo(const QUrl& address) {
    if (address.scheme() == u"https") return true;
    if (address.scheme() != u"http") return false;
    const QString host = address.host();
    return host.compare(u"localhost", Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback();
}

QString insecureAddressMessage(const QUrl& address) {
    if (credentialsMayGoTo(address)) return QString();
    return QCoreApplication::translate(
               "cloud::ServiceAddress",
               "网络服务地址 %1 不在本机，必须以 https:// 开头：密码和登录凭据不能以明文 http 发往其他主机。")
        .arg(address.toDisplayString());
}

bool isOpenableLink(const QString& link) {
    const QUrl url(link, QUrl::StrictMode);
    return url.isValid() && (url.scheme() == u"http" || url.scheme() == u"https") && !url.host().isEmpty();
}

}  // namespace cloud
