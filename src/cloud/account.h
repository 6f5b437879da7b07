#pragma once
// The account operations behind the login window "登陆网络" and the password window "密码修改":
// login, registration, password change, and the remembered login. Each
// hands what the window shows to its callback once the service has answered (at once when
// nothing is sent); none of them shows anything itself. A request the user cancelled changes
// nothing here and has nothing to show.
#include "cloud/cloud_session.h"
#include "cloud/device_list.h"
#include "cloud/device_token_file.h"
#include "cloud/remembered_login.h"
#include "store/database.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace cloud {

// Where users write to have a password reset or a disabled account re-activated.
inline const QString kSupportAddress = QStringLiteral("support@qinglan.example.org");

// The login reply "cancel": the account is disabled.
QString disabledAccountNotice();
// The notice of the link "忘记密码，找回密码".
QString forgottenPasswordNotice();

struct LoginRequest {
    QString userName;
    QString password;      // as typed; empty: the one remembered for userName
    bool remember = true;  // "记住用户名和密码"
};

struct LoginOutcome {
    bool loggedIn = false;
    bool cancelled = false;
    // The login stands, but remembering it in the local database failed: the database's text.
    QString rememberError;
    QString message;  // when not logged in: the message to show (the window stays open)
    // The new caption of the main window's message label, when the reply carried one.
    std::optional<QString> messageLabel;
    // The reply offered a newer program (version above 3): ask "有新版本，是否升级？" (caption
    // "提示", yes/no) and on yes run SelfUpdate.
    bool offerUpdate = false;
    qint64 offeredVersion = 0;  // the version the reply named
};

struct Registration {
    QString userName;
    QString password;
    QString repeated;  // the password typed again
    QString mobile;
    QString email;
};

struct RegistrationOutcome {
    bool registered = false;  // then the login fields take the new name and password
    bool cancelled = false;
    QStringList messages;  // shown one after another
};

struct PasswordChange {
    QString oldPassword, newPassword, confirmation;
};

struct PasswordChangeOutcome {
    bool changed = false;  // then clear the three boxes and close the window
    QString message;
    bool cancelled = false;
    // The password changed, but remembering the new one in the local database failed: the
    // database's text.
    QString rememberError;
};

class Account {
public:
    // keyring: the desktop session's keyring, or null where there is none.
    Account(CloudSession& session, store::Database& db, const SystemKeyring* keyring = nullptr)
        : Account(session, db, keyring, defaultDeviceTokenFolder()) {}
    // tokenFolder: where the device's token goes when no keyring takes it.
    Account(CloudSession& session, store::Database& db, const SystemKeyring* keyring, const QString& tokenFolder)
        : session_(session), memory_(db, keyring, session.serviceAddress().toString(), tokenFolder), db_(db) {}

    // What the login window starts with: the remembered name, whether a password is remembered
    // for it, and whether "记住用户名和密码" is ticked. Throws DatabaseError.
    LoginMemory remembered() { return memory_.read(); }
    // The box "记住用户名和密码" clicked; unticked, the remembered password is forgotten.
    // Throws DatabaseError.
    void setRememberLogin(bool on) { memory_.setRemember(on); }

    // Logs in (refused without sending when the address may not carry the password). With a
    // typed password: login.php with its digest, then, when asked to remember, token.php for a
    // token of this device's own, which is kept instead of anything kept before. Without one:
    // refresh.php with the device's kept token, whose successor is kept at once (an earlier
    // version's kept digest goes to login.php once and is then replaced by a token). What the
    // service refuses is forgotten. On success the session holds the session token for the
    // run, and the user's category names from the reply are copied onto the local categories
    // of the same lei_id.
    void login(const LoginRequest& request, std::function<void(const LoginOutcome&)> done);
    void registerUser(const Registration& registration, std::function<void(const RegistrationOutcome&)> done);
    // Posts changpw.php for the logged-in user. After a change, later requests carry the new
    // session token the reply brings (the change ends every earlier session of the account),
    // and a new token of this device replaces the remembered one while "记住用户名和密码" is
    // ticked (the change ends every device of the account: this one asks for a new token).
    void changePassword(const PasswordChange& change, std::function<void(const PasswordChangeOutcome&)> done);

    // The devices that keep the logged-in user's login, and the removal of one (see device_list.h).
    void listDevices(std::function<void(const DeviceList&)> done) { cloud::listDevices(session_, std::move(done)); }
    void removeDevice(qint64 id, std::function<void(const DeviceRemoval&)> done) {
        cloud::removeDevice(session_, id, std::move(done));
    }

private:
    LoginOutcome loginAnswered(const LoginRequest& request, const ExchangeResult& answer);
    LoginOutcome refreshAnswered(const LoginRequest& request, const ExchangeResult& answer);
    // Takes over the reply of a login ("ok" or the full form) and its session token.
    LoginOutcome sessionOpened(const QString& userName, const QString& reply, const ExchangeResult& answer);
    // Asks token.php for a token of this device and keeps it; done gets what to tell (empty: kept).
    void addThisDevice(const QString& userName, const QString& digest, std::function<void(const QString&)> done);
    PasswordChangeOutcome changeAnswered(const ExchangeResult& answer);
    // Reads the full reply after "ok<t>" and takes it over when the session token came with
    // it; the error text when a field cannot be read or the token is missing.
    std::optional<QString> readLoginReply(QString reply, const QString& token, LoginOutcome& outcome);
    void copyCategories(QString pairs);

    // What the login sends: the typed password's digest, else what is kept for the name; the
    // message to show when there is nothing.
    std::optional<RememberedLogin::Kept> loginProof(const LoginRequest& request, QString& message);
    // Forgets the remembered password; the database's text when that failed.
    QString forgetPassword();

    CloudSession& session_;
    RememberedLogin memory_;
    store::Database& db_;
};

}  // namespace cloud
