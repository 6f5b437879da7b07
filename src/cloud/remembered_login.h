#pragma once
// The login "记住用户名和密码" keeps between runs. Row 88 of zhi holds the user name, whether the
// box is ticked, and in value2 where the password's stand-in is: the desktop session's keyring
// holds the password digest when there is one (entry: the service address and the user name);
// without a keyring value2 holds the digest itself. The password as typed is never kept; a
// row written by an earlier version, which held it, is rewritten the first time it is read.
#include "cloud/system_keyring.h"
#include "store/database.h"
#include "store/settings.h"

#include <QString>
#include <optional>

namespace cloud {

// What the login window starts with.
struct LoginMemory {
    QString userName;
    bool passwordRemembered = false;  // a digest is kept for userName
    bool remember = false;            // "记住用户名和密码" ticked
};

class RememberedLogin {
public:
    // keyring: null where the session has none. serviceAddress names the keyring entries;
    // without one the keyring is not used.
    RememberedLogin(store::Database& db, const SystemKeyring* keyring, const QString& serviceAddress);

    // Throws DatabaseError (as every call below).
    LoginMemory read();

    enum class Lookup { Found, None, Unreadable };
    struct Digest {
        Lookup lookup = Lookup::None;
        QString digest;  // when Found
    };
    // The digest kept for the user; None when none is kept for that name, Unreadable when the
    // keyring holds it but does not answer now (what is kept stays).
    Digest digestFor(const QString& userName);

    // Keeps the name, the box ticked and the digest (in the keyring when it takes it).
    void remember(const QString& userName, const QString& digest);
    // Drops the kept digest: the keyring entry and value2; the name stays.
    void forget();
    // The box clicked; unticking forgets the digest.
    void setRemember(bool on);
    bool rememberOn() const { return settings_.get(store::setting::rememberLogin); }

private:
    struct Stored;
    Stored stored();
    void writeSecret(const QString& value);
    QString keyringService() const;

    store::Settings settings_;
    store::Database& db_;
    const SystemKeyring* keyring_;
    QString serviceAddress_;
};

}  // namespace cloud
