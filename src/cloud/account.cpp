#include "cloud/account.h"

#include "cloud/device_list.h"
#include "cloud/form_encoding.h"
#include "account/password_digest.h"
#include "cloud/reply_reading.h"
#include "cloud/self_update.h"
#include "store/case_lists.h"

#include <QCoreApplication>
#include <QHash>

namespace cloud {
namespace {

constexpr int kCategoryPairCap = 101;

QString errorMessage(const QString& detail) {
    return QCoreApplication::translate("cloud::Account", "出现错误，信息为：%1").arg(detail);
}

QString noSessionToken() { return QCoreApplication::translate("cloud::Account", "网络服务没有给出登录凭据"); }

// The reply header that carries the session token of a login or password change.
constexpr QByteArrayView kSessionHeader("X-Qinglan-Session");

// The session token of the reply: 64 lowercase hex digits, or empty.
QString sessionTokenOf(const ExchangeResult& answer) {
    const QByteArray token = answer.header(kSessionHeader.toByteArray());
    if (token.size() != 64) return QString();
    for (const char c : token)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return QString();
    return QString::fromLatin1(token);
}

RegistrationOutcome registrationAnswered(const ExchangeResult& answer);

// The outcome read, or the database's text when reading it failed.
LoginOutcome guarded(const std::function<LoginOutcome()>& read) {
    try {
        return read();
    } catch (const store::DatabaseError& e) {
        LoginOutcome failed;
        failed.message = e.text();
        return failed;
    }
}

PasswordChangeOutcome refusedChange(const QString& message) { return {false, message, false, QString()}; }

}  // namespace

QString disabledAccountNotice() {
    return QCoreApplication::translate("cloud::Account",
                                       "此账号可能已被盗用，已被停用。如需恢复使用，请写信至 %1，注明用户名。")
        .arg(kSupportAddress);
}

QString forgottenPasswordNotice() {
    return QCoreApplication::translate("cloud::Account",
                                       "密码只能人工重设：请写信至 %1，注明用户名以及注册时填写的手机号或电子邮箱，"
                                       "新的随机密码会以短信或邮件发给您。服务端只保存密码的摘要，原密码无法显示。"
                                       "也可以在青岚用户QQ群内联系管理员。")
        .arg(kSupportAddress);
}

std::optional<RememberedLogin::Kept> Account::loginProof(const LoginRequest& request, QString& message) {
    if (!request.password.isEmpty())
        return RememberedLogin::Kept{RememberedLogin::Lookup::Found, RememberedLogin::Kind::Digest,
                                     account::passwordDigest(request.password)};
    const RememberedLogin::Kept kept = memory_.keptFor(request.userName);
    if (kept.lookup == RememberedLogin::Lookup::Found) return kept;
    message = kept.lookup == RememberedLogin::Lookup::Unreadable
                  ? QCoreApplication::translate("cloud::Account", "无法从系统密钥环取得记住的登录，请输入密码。")
                  : QCoreApplication::translate("cloud::Account", "请输入密码。");
    return std::nullopt;
}

QString Account::forgetPassword() {
    try {
        memory_.forget();
    } catch (const store::DatabaseError& e) {
        return e.text();
    }
    return QString();
}

void Account::login(const LoginRequest& request, std::function<void(const LoginOutcome&)> done) {
    LoginOutcome refused;
    if (request.userName.isEmpty()) refused.message = QCoreApplication::translate("cloud::Account", "请输入用户名。");
    const std::optional<RememberedLogin::Kept> proof =
        refused.message.isEmpty() ? loginProof(request, refused.message) : std::nullopt;
    if (proof) refused.message = session_.transportProblem();
    if (!refused.message.isEmpty()) return done(refused);
    if (proof->kind == RememberedLogin::Kind::DeviceToken) {
        session_.postPlain(QStringLiteral("refresh.php"),
                           {QStringLiteral("nm=") + request.userName, QStringLiteral("lingpai=") + proof->secret},
                           [this, request, done](const ExchangeResult& answer) {
                               done(guarded([&] { return refreshAnswered(request, answer); }));
                           });
        return;
    }
    const QString digest = proof->secret;
    session_.postPlain(QStringLiteral("login.php"),
                       {QStringLiteral("nm=") + request.userName, QStringLiteral("pw=") + digest},
                       [this, request, digest, done](const ExchangeResult& answer) {
                           LoginOutcome outcome = guarded([&] { return loginAnswered(request, answer); });
                           if (!outcome.loggedIn || !request.remember) return done(outcome);
                           // The device asks for a token of its own, which replaces any digest
                           // an earlier version kept.
                           addThisDevice(request.userName, digest, [outcome, done](const QString& error) mutable {
                               outcome.rememberError = error;
                               done(outcome);
                           });
                       });
}

void Account::addThisDevice(const QString& userName, const QString& digest, std::function<void(const QString&)> done) {
    session_.postPlain(
        QStringLiteral("token.php"),
        {QStringLiteral("nm=") + userName, QStringLiteral("shebei=") + thisDeviceName(),
         QStringLiteral("pw=") + digest},
        [this, userName, done](const ExchangeResult& answer) {
            QString reply = answer.replyText();
            QString error;
            try {
                const QString token = reply.startsWith(u"ok<t>") ? (takeField(reply), takeField(reply)) : QString();
                if (answer.failure == ExchangeFailure::Cancelled || token.isEmpty()) {
                    memory_.forget();
                    if (answer.failure != ExchangeFailure::Cancelled)
                        error = QCoreApplication::translate("cloud::Account",
                                                            "网络服务没有为本机记住登录，下次需要输入密码：%1")
                                    .arg(answer.replyText());
                } else if (!memory_.rememberToken(userName, token)) {
                    error = QCoreApplication::translate("cloud::Account",
                                                        "系统密钥环和登录凭据文件都无法使用，下次需要输入密码。");
                }
            } catch (const store::DatabaseError& e) {
                error = e.text();
            }
            done(error);
        });
}

LoginOutcome Account::loginAnswered(const LoginRequest& request, const ExchangeResult& answer) {
    LoginOutcome outcome;
    if (answer.failure == ExchangeFailure::Cancelled) {
        outcome.cancelled = true;
        return outcome;
    }
    const QString reply = answer.replyText();
    if (reply.startsWith(kNetError)) {
        outcome.message = QCoreApplication::translate("cloud::Account", "网络错误，登陆失败。");
        return outcome;
    }
    const bool refused = reply.startsWith(u"no") || reply.startsWith(u"cancel");
    // A remembered password the service refuses is of no further use.
    if (refused && request.password.isEmpty()) outcome.rememberError = forgetPassword();
    if (reply.startsWith(u"no")) {
        outcome.message = QCoreApplication::translate("cloud::Account", "账号或密码错误，不能登陆。");
        return outcome;
    }
    if (reply.startsWith(u"cancel")) {
        outcome.message = disabledAccountNotice();
        return outcome;
    }
    return sessionOpened(request.userName, reply, answer);
}

LoginOutcome Account::refreshAnswered(const LoginRequest& request, const ExchangeResult& answer) {
    LoginOutcome outcome;
    if (answer.failure == ExchangeFailure::Cancelled) {
        outcome.cancelled = true;
        return outcome;
    }
    QString reply = answer.replyText();
    if (reply.startsWith(kNetError)) {
        outcome.message = QCoreApplication::translate("cloud::Account", "网络错误，登陆失败。");
        return outcome;
    }
    if (reply == u"no") {
        // Removed from the account window, ended by a password change, or unused too long.
        outcome.rememberError = forgetPassword();
        outcome.message = QCoreApplication::translate("cloud::Account", "本机记住的登录已失效，请输入密码。");
        return outcome;
    }
    if (!reply.startsWith(u"ok<t>")) {
        outcome.message = errorMessage(reply);
        return outcome;
    }
    takeField(reply);
    const QString token = takeField(reply);
    // The token presented is spent: the next one is kept before anything else is read.
    if (!memory_.rememberToken(request.userName, token))
        outcome.rememberError =
            QCoreApplication::translate("cloud::Account", "系统密钥环和登录凭据文件都无法使用，下次需要输入密码。");
    LoginOutcome opened = sessionOpened(
        request.userName, reply.isEmpty() ? QStringLiteral("ok") : QStringLiteral("ok<t>") + reply, answer);
    opened.rememberError = outcome.rememberError;
    return opened;
}

LoginOutcome Account::sessionOpened(const QString& userName, const QString& reply, const ExchangeResult& answer) {
    LoginOutcome outcome;
    const bool full = reply.startsWith(u"ok<t");
    if (!full && reply != u"ok") {
        outcome.message = errorMessage(reply);
        return outcome;
    }
    const QString token = sessionTokenOf(answer);
    if (!full && token.isEmpty()) {
        outcome.message = errorMessage(noSessionToken());
        return outcome;
    }
    if (full) {
        if (const auto error = readLoginReply(reply, token, outcome)) {
            outcome = {};
            outcome.message = errorMessage(*error);
            return outcome;
        }
    }
    session_.logIn(userName, token);
    outcome.loggedIn = true;
    return outcome;
}

std::optional<QString> Account::readLoginReply(QString reply, const QString& token, LoginOutcome& outcome) {
    takeField(reply);
    QString label;
    try {
        label = urlDecode(takeThrough(reply, u"<msg>"));
    } catch (const UrlDecodeError& error) {
        return QString::fromUtf8(error.what());
    }
    const QString url = takeThrough(reply, u"<url>");
    const QString versionText = takeThrough(reply, u"<v>");
    bool isNumber = false;
    const qint64 version = versionText.toLongLong(&isNumber);
    if (!isNumber) return QCoreApplication::translate("cloud::Account", "版本号不是整数：%1").arg(versionText);
    const qsizetype fieldEnd = reply.indexOf(kFieldEnd);
    if (fieldEnd >= 0) reply.remove(0, fieldEnd + kFieldEnd.size());

    if (token.isEmpty()) return noSessionToken();

    // Nothing is taken over before the whole notice has been read.
    outcome.messageLabel = label;
    // Only a web address is kept: the main window opens it on a click.
    session_.setMessageUrl(isOpenableLink(url) ? url : QString());
    outcome.offerUpdate = version > kProgramVersion;
    outcome.offeredVersion = version;
    copyCategories(reply);
    return std::nullopt;
}

void Account::copyCategories(QString pairs) {
    store::CaseLists lists(db_);
    QHash<qint64, QString> local;
    for (const store::Category& category : lists.categories()) local.insert(category.categoryId, category.categoryName);
    for (int read = 0; pairs.size() > 3 && read < kCategoryPairCap; ++read) {
        const QString name = takeField(pairs);
        bool isNumber = false;
        const qint64 categoryId = takeField(pairs).toLongLong(&isNumber);
        // Only categories that exist here are renamed; none is created.
        if (isNumber && local.contains(categoryId) && local.value(categoryId) != name) {
            lists.renameCategory(categoryId, name);
            local.insert(categoryId, name);
        }
        while (pairs.startsWith(kFieldEnd)) pairs.remove(0, kFieldEnd.size());
    }
}

void Account::registerUser(const Registration& r, std::function<void(const RegistrationOutcome&)> done) {
    RegistrationOutcome outcome;
    if (r.userName.isEmpty())
        outcome.messages = {QCoreApplication::translate("cloud::Account", "用户名不能为空")};
    else if (r.password.isEmpty())
        outcome.messages = {QCoreApplication::translate("cloud::Account", "密码不能为空")};
    else if (r.password != r.repeated)
        outcome.messages = {QCoreApplication::translate("cloud::Account", "密码两次输入的不同")};
    else if (r.mobile.isEmpty() && r.email.isEmpty())
        outcome.messages = {QCoreApplication::translate("cloud::Account", "手机号或者电子邮箱号必须输入一个。")};
    else if (const QString problem = session_.transportProblem(); !problem.isEmpty())
        outcome.messages = {problem};
    if (!outcome.messages.isEmpty()) return done(outcome);

    session_.postPlain(QStringLiteral("reg.php"),
                       {QStringLiteral("nm=") + r.userName, QStringLiteral("pw=") + account::passwordDigest(r.password),
                        QStringLiteral("shouji=") + r.mobile, QStringLiteral("youxiang=") + r.email},
                       [done](const ExchangeResult& answer) { done(registrationAnswered(answer)); });
}

namespace {

RegistrationOutcome registrationAnswered(const ExchangeResult& answer) {
    RegistrationOutcome outcome;
    if (answer.failure == ExchangeFailure::Cancelled) {
        outcome.cancelled = true;
        return outcome;
    }
    const QString reply = answer.replyText();
    if (reply == kNetError) {
        outcome.messages = {QCoreApplication::translate("cloud::Account", "网络错误，请重试。")};
        return outcome;
    }
    if (reply == u"no")
        outcome.messages.append(QCoreApplication::translate("cloud::Account", "用户名已经存在。请换个用户名。"));
    if (reply == u"cancel") outcome.messages.append(QCoreApplication::translate("cloud::Account", "注册失败。"));
    if (reply != u"ok") {
        outcome.messages.append(errorMessage(reply));
        return outcome;
    }
    outcome.registered = true;
    outcome.messages = {QCoreApplication::translate("cloud::Account", "注册成功。")};
    return outcome;
}

}  // namespace

void Account::changePassword(const PasswordChange& change, std::function<void(const PasswordChangeOutcome&)> done) {
    if (change.oldPassword.isEmpty())
        return done(refusedChange(QCoreApplication::translate("cloud::Account", "请输入原密码")));
    if (change.newPassword.isEmpty())
        return done(refusedChange(QCoreApplication::translate("cloud::Account", "请输入新密码")));
    if (change.newPassword != change.confirmation)
        return done(refusedChange(QCoreApplication::translate("cloud::Account", "两次输入的新密码不同。")));

    if (const QString problem = session_.transportProblem(); !problem.isEmpty()) return done(refusedChange(problem));

    const QString newDigest = account::passwordDigest(change.newPassword);
    // The old digest is the proof here; the service reads no "pw=" field on this endpoint.
    session_.postPlain(
        QStringLiteral("changpw.php"),
        {QStringLiteral("nm=") + session_.userName(), QStringLiteral("oldpw=") + account::passwordDigest(change.oldPassword),
         QStringLiteral("newpw=") + newDigest},
        [this, newDigest, done](const ExchangeResult& answer) {
            PasswordChangeOutcome outcome = changeAnswered(answer);
            // The change ended every device of the account, this one's too.
            if (!outcome.changed || !memory_.rememberOn()) {
                if (outcome.changed) outcome.rememberError = forgetPassword();
                return done(outcome);
            }
            addThisDevice(session_.userName(), newDigest, [outcome, done](const QString& error) mutable {
                outcome.rememberError = error;
                done(outcome);
            });
        });
}

PasswordChangeOutcome Account::changeAnswered(const ExchangeResult& answer) {
    if (answer.failure == ExchangeFailure::Cancelled) return {false, QString(), true, QString()};
    const QString reply = answer.replyText();
    if (reply == u"ok") {
        // The change ended every session of the account; the reply carries this run's new one.
        session_.setSessionToken(sessionTokenOf(answer));
        return {true, QCoreApplication::translate("cloud::Account", "密码修改成功"), false, {}};
    }
    if (reply == u"no") return refusedChange(QCoreApplication::translate("cloud::Account", "原密码不正确，无法修改。"));
    return refusedChange(QCoreApplication::translate("cloud::Account", "网络保存出错：%1").arg(reply));
}

}  // namespace cloud
