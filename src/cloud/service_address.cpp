#include "cloud/service_address.h"

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
        return {QUrl(), QStringLiteral("网络服务地址无效：") + text + QStringLiteral("（应以 http:// 或 https:// 开头）")};
    if (!url.path().endsWith(u'/')) url.setPath(url.path() + u'/');
    return {url, QString()};
}

}  // namespace cloud
