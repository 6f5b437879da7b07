#pragma once
// The login "记住用户名和密码" keeps between runs. Row 88 of zhi holds the user name, whether the
// box is ticked, and in value2 where the device's refresh token is: in the desktop session's
// keyring when there is one (entry: the service address and the user name), else in a file of
// the user's alone (see device_token_file.h). The token is this device's own, worth nothing for
// a password login, replaced at every use and removable from the account window; row 88 never
// holds it. Earlier versions kept the password's digest (in the keyring or in value2) or the
// password as typed: such a row still logs in once, by the digest, and the next successful login
// replaces it by a token. A password as typed is rewritten as its digest the first time it is read.
#include "cloud/system_keyring.h"
#include "store/database.h"
#include "store/settings.h"

#include <QString>
#include <optional>

namespace cloud {

// What the login window starts with.
struct LoginMemory {
    QString userName;
    bool passwordRemembered = false;  // a token (or an earlier version's digest) is kept for userName
    bool remember = false;            // "记住用户名和密码" ticked
};

class RememberedLogin {
public:
    // keyring: null where the session has none. serviceAddress names the keyring entries and
    // token files; without one nothing is kept. tokenFolder: where token files go.
    RememberedLogin(store::Database& db, const SystemKeyring* keyring, const QString& serviceAddress,
                    const QString& tokenFolder);

    // Throws DatabaseError (as every call below).
    LoginMemory read();

    enum class Lookup { Found, None, Unreadable };
    enum class Kind { DeviceToken, Digest };
    struct Kept {
        Lookup lookup = Lookup::None;
        Kind kind = Kind::DeviceToken;
        QString secret;  // when Found
    };
    // What is kept for the user; None when nothing is kept for that name, Unreadable when the
    // keyring holds it but does not answer now (what is kept stays).
    Kept keptFor(const QString& userName);

    // Keeps the name, the box ticked and the device's token (in the keyring when it takes it,
    // else in the token file), and drops whatever was kept before. False when neither took it:
    // then nothing is kept.
    bool rememberToken(const QString& userName, const QString& token);
    // Drops what is kept: the keyring entry, the token file and value2; the name stays.
    void forget();
    // The box clicked; unticking forgets.
    void setRemember(bool on);
    bool rememberOn() const { return settings_.get(store::setting::rememberLogin); }

private:
    struct Stored;
    Stored stored();
    void writeSecret(const QString& value);
    void scrubFile();
    void dropKept(const QString& userName, const QString& value);
    QString keyringService() const;

    store::Settings settings_;
    store::Database& db_;
    const SystemKeyring* keyring_;
    QString serviceAddress_;
    QString tokenFolder_;
};

}  // namespace cloud
