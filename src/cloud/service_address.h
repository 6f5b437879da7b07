#pragma once
// Where the case service is: "--service URL" (or "--service=URL") on the command line, else
// $QINGLAN_SERVICE when set and not empty, else the service's own default address on this
// machine. "http://" and "https://" addresses are taken; the endpoints are paths under it.
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace cloud {

inline const QString kDefaultServiceAddress = QStringLiteral("http://127.0.0.1:8080/");

struct ServiceAddress {
    QUrl url;       // ends with "/"; invalid when error is set
    QString error;  // the message to show when the setting is not a usable address
};

ServiceAddress resolveServiceAddress(const QStringList& arguments, const QProcessEnvironment& environment);

}  // namespace cloud
