// The remembered login "记住用户名和密码" in a real database file, against the real case service:
// what row 88 keeps after every way of logging in, remembering and forgetting, that no password
// as typed (nor, after a login, its digest) is left anywhere in the file, and that the device's
// token, kept in a private file without a keyring, logs in through login.php no more than
// anything else the file holds.
#include "cloud/device_token_file.h"
#include "account/password_digest.h"
#include "cloud/system_keyring.h"
#include "desktop_client.h"
#include "known_passwords.h"
#include "local_services.h"
#include "store/settings.h"
#include "test_support/qt_printers.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

namespace {

using cloud_test::DesktopClient;
using cloud_test::ServiceProcess;

using namespace cloud_test;

// Worked out as in known_passwords.h.
const QString kOldTyped = QStringLiteral("OldTyped#Secret42");
const QString kOldTypedDigest = QStringLiteral("A16C02A55C062A86650FC5B0C575D4CD");

// value2 of row 88 as an earlier version wrote it: the digest behind a marker no login box can type.
QString digestForm(const QString& digest) { return QStringLiteral("\u0001digest:") + digest; }
// value2 once the device's token is in the token file.
const QString kTokenInFile = QStringLiteral("\u0001token:file");

// One database file that runs of the program open one after another.
class LocalFile {
public:
    LocalFile() : path_(dir_.filePath(QStringLiteral("qinglan.db"))) {}

    const QString& path() const { return path_; }
    // Where the runs keep the device's token without a keyring.
    QString tokenFolder() const { return dir_.filePath(QStringLiteral("data/qinglan/login")); }

    std::unique_ptr<DesktopClient> run(const ServiceProcess& service, const cloud::SystemKeyring* keyring = nullptr) {
        return std::make_unique<DesktopClient>(service.address(), store::Database::open(path_), keyring, tokenFolder());
    }

    // Whether the file (or a journal or write-ahead log beside it) holds the text, in UTF-8 or UTF-16.
    bool holds(const QString& text) const {
        for (const QString& name : {path_, path_ + QStringLiteral("-journal"), path_ + QStringLiteral("-wal")}) {
            QFile file(name);
            if (!file.open(QIODevice::ReadOnly)) continue;
            const QByteArray bytes = file.readAll();
            const QByteArray utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
            if (bytes.contains(text.toUtf8()) || bytes.contains(utf16)) return true;
        }
        return false;
    }

private:
    QTemporaryDir dir_;
    QString path_;
};

QString storedSecret(DesktopClient& client) { return store::Settings(*client.db).get(store::setting::loginPassword); }

void registerUser(DesktopClient& client, const QString& name, const QString& password) {
    ASSERT_TRUE(client.account.registerUser({name, password, password, "13800000000", ""}).registered);
}

// The connection then leaves what a write replaces in the file's free space, as SQLite does
// unless built to scrub it (Debian's is; the program cannot count on that).
void keepReplacedBytes(DesktopClient& client) { client.db->execute("pragma secure_delete=0"); }

// Row 88 as earlier versions left it after some use: the password as typed, then the name
// typed over a few times while another setting changed beside it. Rows that move around on
// their page this way leave a copy of the password in the file's free space.
void writeEarlierRow(DesktopClient& client, const QString& name, const QString& typed, bool remember) {
    keepReplacedBytes(client);
    store::Settings settings(*client.db);
    settings.set(store::setting::loginPassword, typed);
    settings.set(store::setting::loginName, QStringLiteral("abcdefghijklmnop"));
    settings.set(store::setting::loginName, QStringLiteral("ab"));
    settings.set(store::setting::calendarSource, QStringLiteral("astronomical"));
    settings.set(store::setting::loginName, name);
    settings.set(store::setting::rememberLogin, remember);
}

// The permission bits of a file or folder; -1 when it is not there.
int modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? static_cast<int>(info.st_mode & 07777) : -1;
}

// How many times the file holds the text in UTF-8.
qsizetype copiesIn(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().count(text.toUtf8()) : 0;
}

TEST(RememberedLogin, TypedPasswordOfAnEarlierVersionIsRewrittenOnceAndStillLogsIn) {
    const struct {
        bool remember;
        QString value2;  // after the first read
        bool passwordRemembered;
    } cases[] = {
        {true, digestForm(kOldTypedDigest), true},
        // Unticked, an earlier version kept the password all the same; now nothing is kept.
        {false, QString(), false},
    };
    ServiceProcess service;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.remember ? "ticked" : "unticked");
        LocalFile file;
        {
            auto earlier = file.run(service);
            registerUser(*earlier, c.remember ? kUser : QStringLiteral("李四"), kOldTyped);
            writeEarlierRow(*earlier, c.remember ? kUser : QStringLiteral("李四"), kOldTyped, c.remember);
        }
        ASSERT_EQ(copiesIn(file.path(), kOldTyped), 2) << "the row and an earlier copy of it";
        {
            auto run = file.run(service);
            const cloud::LoginMemory memory = run->account.remembered();
            EXPECT_EQ(memory.passwordRemembered, c.passwordRemembered);
            EXPECT_EQ(memory.remember, c.remember);
            EXPECT_EQ(storedSecret(*run), c.value2);
        }
        EXPECT_FALSE(file.holds(kOldTyped));

        auto next = file.run(service);
        EXPECT_EQ(storedSecret(*next), c.value2) << "read once: the digest is not digested again";
        const cloud::LoginOutcome outcome = next->account.login({c.remember ? kUser : "李四", "", c.remember});
        EXPECT_EQ(outcome.loggedIn, c.remember) << outcome.message.toStdString();
        if (!c.remember) {
            EXPECT_EQ(outcome.message, "请输入密码。");
        }
    }
}

TEST(RememberedLogin, LoginWithoutTheWindowRewritesAnEarlierRowToo) {
    ServiceProcess service;
    LocalFile file;
    {
        auto earlier = file.run(service);
        registerUser(*earlier, kUser, kOldTyped);
        writeEarlierRow(*earlier, kUser, kOldTyped, true);
    }
    auto run = file.run(service);
    EXPECT_TRUE(run->account.login({kUser, "", true}).loggedIn);
    EXPECT_EQ(storedSecret(*run), kTokenInFile) << "the earlier digest logged in once and was replaced";
    EXPECT_FALSE(file.holds(kOldTyped));
    EXPECT_FALSE(file.holds(kOldTypedDigest));
}

TEST(RememberedLogin, NoWayOfLoggingInLeavesAPasswordOrItsDigestInTheFile) {
    ServiceProcess service;
    LocalFile file;
    auto run = file.run(service);
    registerUser(*run, kUser, kFirst);
    const QString other = QStringLiteral("Other#Pw5");
    registerUser(*run, QStringLiteral("王五"), other);
    run->account.setRememberLogin(true);

    const struct {
        const char* step;
        std::function<bool()> act;
        QString value2;
    } steps[] = {
        {"typed, remembered",
         [&] {
             return run->account.login({kUser, kFirst, true}).loggedIn;
         },
         kTokenInFile},
        {"remembered digest",
         [&] {
             return run->account.login({kUser, "", true}).loggedIn;
         },
         kTokenInFile},
        {"typed, not remembered",
         [&] {
             return run->account.login({QStringLiteral("王五"), other, false}).loggedIn;
         },
         kTokenInFile},
        {"wrong password typed",
         [&] {
             return !run->account.login({kUser, QStringLiteral("Wrong#Pw9"), true}).loggedIn;
         },
         kTokenInFile},
        {"password changed",
         [&] {
             return run->account.login({kUser, "", true}).loggedIn &&
                    run->account.changePassword({kFirst, kNew, kNew}).changed;
         },
         kTokenInFile},
        {"unticked",
         [&] {
             run->account.setRememberLogin(false);
             return true;
         },
         QString()},
        {"ticked again",
         [&] {
             run->account.setRememberLogin(true);
             return true;
         },
         QString()},
        {"new password typed",
         [&] {
             return run->account.login({kUser, kNew, true}).loggedIn;
         },
         kTokenInFile},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        EXPECT_TRUE(s.act());
        EXPECT_EQ(storedSecret(*run), s.value2);
        for (const QString& typed :
             {kFirst, kNew, other, QStringLiteral("Wrong#Pw9"), kFirstDigest, kNewDigest, account::passwordDigest(other)})
            EXPECT_FALSE(file.holds(typed)) << typed.toStdString();
    }
}

TEST(RememberedLogin, UntickingForgetsAndALaterLoginNeedsThePassword) {
    ServiceProcess service;
    LocalFile file;
    {
        auto run = file.run(service);
        keepReplacedBytes(*run);
        registerUser(*run, kUser, kFirst);
        ASSERT_TRUE(run->account.login({kUser, kFirst, true}).loggedIn);
        EXPECT_TRUE(run->account.remembered().passwordRemembered);
        // Another setting changes meanwhile, so the login's row no longer ends its page's rows.
        store::Settings(*run->db).set(store::setting::calendarSource, QStringLiteral("astronomical"));
        run->account.setRememberLogin(false);
        EXPECT_EQ(storedSecret(*run), "");
    }
    EXPECT_FALSE(QFile::exists(cloud::DeviceTokenFile(file.tokenFolder(), service.address().toString(), kUser).path()))
        << "the forgotten token's file is gone";
    auto next = file.run(service);
    const cloud::LoginMemory memory = next->account.remembered();
    EXPECT_EQ(memory.userName, kUser);
    EXPECT_FALSE(memory.passwordRemembered);
    EXPECT_FALSE(memory.remember);
    next->account.setRememberLogin(true);
    EXPECT_FALSE(next->account.remembered().passwordRemembered) << "ticking again brings nothing back";
    EXPECT_EQ(next->account.login({kUser, "", true}).message, "请输入密码。");
}

TEST(RememberedLogin, ARememberedPasswordTheServiceRefusesIsForgotten) {
    ServiceProcess service;
    LocalFile file;
    auto run = file.run(service);
    registerUser(*run, kUser, kFirst);
    ASSERT_TRUE(run->account.login({kUser, kFirst, true}).loggedIn);

    // The password is changed from another machine.
    DesktopClient elsewhere(service.address());
    ASSERT_TRUE(elsewhere.logIn(kUser, kFirst, false));
    ASSERT_TRUE(elsewhere.account.changePassword({kFirst, kNew, kNew}).changed);

    auto next = file.run(service);
    EXPECT_TRUE(next->account.remembered().passwordRemembered);
    EXPECT_EQ(next->account.login({kUser, "", true}).message, "本机记住的登录已失效，请输入密码。")
        << "the password change ended every device";
    EXPECT_EQ(storedSecret(*next), "");
    EXPECT_FALSE(next->account.remembered().passwordRemembered);
    EXPECT_TRUE(next->account.login({kUser, kNew, true}).loggedIn);
    EXPECT_EQ(storedSecret(*next), kTokenInFile);

    // Only a refusal forgets: a service that cannot be reached leaves the remembered token.
    service.stop();
    EXPECT_EQ(next->account.login({kUser, "", true}).message, "网络错误，登陆失败。");
    EXPECT_EQ(storedSecret(*next), kTokenInFile);
}

TEST(RememberedLogin, PasswordChangeRemembersANewTokenOnlyWhileTicked) {
    ServiceProcess service;
    for (const bool remember : {true, false}) {
        SCOPED_TRACE(remember ? "ticked" : "unticked");
        const QString name = remember ? QStringLiteral("ticked") : QStringLiteral("unticked");
        LocalFile file;
        {
            auto run = file.run(service);
            registerUser(*run, name, kFirst);
            ASSERT_TRUE(run->account.login({name, kFirst, true}).loggedIn);
            run->account.setRememberLogin(remember);
            const cloud::PasswordChangeOutcome outcome = run->account.changePassword({kFirst, kNew, kNew});
            EXPECT_TRUE(outcome.changed);
            EXPECT_EQ(outcome.rememberError, "");
            EXPECT_EQ(storedSecret(*run), remember ? kTokenInFile : QString());
        }
        auto next = file.run(service);
        const cloud::LoginOutcome outcome = next->account.login({name, "", true});
        EXPECT_EQ(outcome.loggedIn, remember) << outcome.message.toStdString();
    }
}

TEST(RememberedLogin, TheTokenIsRememberedOnlyForItsOwnName) {
    ServiceProcess service;
    LocalFile file;
    auto run = file.run(service);
    registerUser(*run, kUser, kFirst);
    registerUser(*run, QStringLiteral("李四"), kFirst);
    ASSERT_TRUE(run->account.login({kUser, kFirst, true}).loggedIn);
    EXPECT_EQ(run->account.login({QStringLiteral("李四"), "", true}).message, "请输入密码。");
    EXPECT_EQ(storedSecret(*run), kTokenInFile) << "a login that sent nothing forgets nothing";
}

// Without a keyring the token goes to a file only the user may read; a session bus that is not
// there must neither stop the login nor leave anything of the keyring's in value2. An earlier
// version's digest in the row logs in once and is replaced; the token in the file is spent at
// every login, and neither it nor anything else kept logs in through login.php.
TEST(RememberedLogin, WithoutAKeyringTheTokenGoesToAPrivateFile) {
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/qinglan-test-bus");
    const cloud::SystemKeyring keyring(std::chrono::seconds(2));
    EXPECT_FALSE(keyring.write("Qinglan test", "nobody", "x"));
    EXPECT_EQ(keyring.read("Qinglan test", "nobody").answer, cloud::SystemKeyring::Answer::Unavailable);

    ServiceProcess service;
    LocalFile file;
    {
        auto earlier = file.run(service, &keyring);
        registerUser(*earlier, kUser, kOldTyped);
        writeEarlierRow(*earlier, kUser, kOldTyped, true);
    }
    auto run = file.run(service, &keyring);
    EXPECT_TRUE(run->account.remembered().passwordRemembered);
    EXPECT_EQ(storedSecret(*run), digestForm(kOldTypedDigest));
    ASSERT_TRUE(run->account.login({kUser, "", true}).loggedIn);
    EXPECT_EQ(storedSecret(*run), kTokenInFile);
    EXPECT_FALSE(file.holds(kOldTypedDigest));

    const cloud::DeviceTokenFile tokenFile(file.tokenFolder(), service.address().toString(), kUser);
    EXPECT_EQ(modeOf(file.tokenFolder()), 0700);
    EXPECT_EQ(modeOf(tokenFile.path()), 0600);

    // Whatever the client keeps, replayed to the password login, is refused.
    const std::optional<QString> first = tokenFile.read();
    ASSERT_TRUE(first);
    EXPECT_FALSE(file.holds(*first)) << "the token is not in the database";
    auto thief = file.run(service);
    for (const QString& kept : {*first, storedSecret(*run)}) {
        const auto replay = awaited<cloud::ExchangeResult>(thief->exchange, [&](auto done) {
            thief->session.postPlain("login.php", {"nm=" + kUser, "pw=" + kept}, done);
        });
        EXPECT_EQ(replay.replyText(), "no") << kept.toStdString();
    }

    // The next login spends the token and keeps its successor.
    EXPECT_TRUE(run->account.login({kUser, "", true}).loggedIn);
    EXPECT_NE(tokenFile.read(), first);
    run->account.setRememberLogin(false);
    EXPECT_EQ(storedSecret(*run), "");
    EXPECT_FALSE(QFile::exists(tokenFile.path()));
    EXPECT_FALSE(file.holds(kOldTyped));
}

}  // namespace
