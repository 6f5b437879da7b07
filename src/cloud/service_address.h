#pragma once
// Where the case service is: "--service URL" (or "--service=URL") on the command line, else
// $QINGLAN_SERVICE when set and not empty, else the service's own default address on this
// machine. "https://" addresses are taken, and "http://" ones on this machine (a loopback
// address or "localhost"): the password digest and the session token must not cross a network
// in clear text. The endpoints are paths under the address.
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

// Whether a password digest or session token may be sent to this address: over https, or
// over http to this machine only.
bool credentialsMayGoTo(const QUrl& address);
// The message when they may not; empty when they may.
QString insecureAddressMessage(const QUrl& address);

// Whether a link from the service may be opened: an http or https address with a host.
bool isOpenableLink(const QString& link);

}  // namespace cloud
