// The remembered login with a real keyring: a GNOME keyring on a session bus of the test's own
// (in_keyring_session.sh), the real case service and a real database file. Skipped, with the
// reason, when no keyring answers.
#include "cloud/system_keyring.h"
#include "desktop_client.h"
#include "known_passwords.h"
#include "local_services.h"
#include "store/settings.h"
#include "test_support/qt_printers.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

using cloud::SystemKeyring;
using cloud_test::DesktopClient;
using cloud_test::ServiceProcess;

using namespace cloud_test;
const QString kInKeyring = QStringLiteral("\u0001keyring");  // an earlier version's digest
const QString kTokenInKeyring = QStringLiteral("\u0001token:keyring");

// A device token: 64 lowercase hex digits.
bool isToken(const QString& text) {
    static const QRegularExpression token(QStringLiteral("^[0-9a-f]{64}$"));
    return token.match(text).hasMatch();
}

class KeyringLogin : public ::testing::Test {
protected:
    void SetUp() override {
        if (!keyring.write("Qinglan probe", "probe", "x"))
            GTEST_SKIP() << "no keyring answers on this session bus (run the test through in_keyring_session.sh)";
        keyring.remove("Qinglan probe", "probe");
    }

    std::unique_ptr<DesktopClient> run() {
        return std::make_unique<DesktopClient>(service.address(), store::Database::open(path), &keyring);
    }
    // The keyring entry of a login: the service address and the user name.
    SystemKeyring::Read entry(const QString& user = kUser) const {
        return keyring.read(QStringLiteral("Qinglan ") + service.address().toString(), user);
    }
    QString value2(DesktopClient& client) const {
        return store::Settings(*client.db).get(store::setting::loginPassword);
    }
    // Whether the file, or its journal or write-ahead log, holds the text.
    bool fileHolds(const QString& text) const {
        for (const QString& name : {path, path + QStringLiteral("-journal"), path + QStringLiteral("-wal")}) {
            QFile file(name);
            if (file.open(QIODevice::ReadOnly) && file.readAll().contains(text.toUtf8())) return true;
        }
        return false;
    }

    const SystemKeyring keyring{std::chrono::seconds(5)};
    ServiceProcess service;
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("qinglan.db"));
};

TEST_F(KeyringLogin, TheDeviceTokenGoesToTheKeyringAndTheRowOnlySaysSo) {
    {
        auto first = run();
        ASSERT_TRUE(first->account.registerUser({kUser, kFirst, kFirst, "1", ""}).registered);
        ASSERT_TRUE(first->account.login({kUser, kFirst, true}).loggedIn);
        EXPECT_EQ(value2(*first), kTokenInKeyring);
    }
    EXPECT_EQ(entry().answer, SystemKeyring::Answer::Done);
    const QString first = entry().secret;
    EXPECT_TRUE(isToken(first)) << first.toStdString();
    EXPECT_FALSE(fileHolds(kFirstDigest));
    EXPECT_FALSE(fileHolds(kFirst));
    EXPECT_FALSE(fileHolds(first));

    auto next = run();
    EXPECT_TRUE(next->account.remembered().passwordRemembered);
    EXPECT_TRUE(next->account.login({kUser, "", true}).loggedIn);
    EXPECT_NE(entry().secret, first) << "the login spent the token and kept its successor";

    // A password change ends the device, which asks for a new token; unticking the box removes it.
    const QString beforeChange = entry().secret;
    ASSERT_TRUE(next->account.changePassword({kFirst, kNew, kNew}).changed);
    EXPECT_TRUE(isToken(entry().secret));
    EXPECT_NE(entry().secret, beforeChange);
    EXPECT_EQ(value2(*next), kTokenInKeyring);
    next->account.setRememberLogin(false);
    EXPECT_EQ(entry().answer, SystemKeyring::Answer::Missing);
    EXPECT_EQ(value2(*next), "");
}

TEST_F(KeyringLogin, AnEarlierTypedRowMovesIntoTheKeyring) {
    {
        auto earlier = run();
        ASSERT_TRUE(earlier->account.registerUser({kUser, kFirst, kFirst, "1", ""}).registered);
        store::Settings settings(*earlier->db);
        settings.set(store::setting::loginName, kUser);
        settings.set(store::setting::loginPassword, kFirst);
        settings.set(store::setting::rememberLogin, true);
    }
    auto next = run();
    EXPECT_TRUE(next->account.remembered().passwordRemembered);
    EXPECT_EQ(value2(*next), kInKeyring);
    EXPECT_EQ(entry().secret, kFirstDigest);
    EXPECT_FALSE(fileHolds(kFirst));
    EXPECT_TRUE(next->account.login({kUser, "", true}).loggedIn);
    EXPECT_EQ(value2(*next), kTokenInKeyring) << "the earlier digest logged in once and was replaced";
    EXPECT_TRUE(isToken(entry().secret));
}

TEST_F(KeyringLogin, AnEntryGoneFromTheKeyringIsForgottenHereToo) {
    auto client = run();
    ASSERT_TRUE(client->account.registerUser({kUser, kFirst, kFirst, "1", ""}).registered);
    ASSERT_TRUE(client->account.login({kUser, kFirst, true}).loggedIn);
    // The user deletes the entry with the desktop's keyring manager.
    keyring.remove(QStringLiteral("Qinglan ") + service.address().toString(), kUser);
    EXPECT_EQ(client->account.login({kUser, "", true}).message, "请输入密码。");
    EXPECT_EQ(value2(*client), "");
}

TEST_F(KeyringLogin, EntriesOfOtherNamesAndAddressesAreLeftAlone) {
    const QString otherService = QStringLiteral("Qinglan https://cases.example.org/");
    ASSERT_TRUE(keyring.write(otherService, kUser, kNewDigest));
    auto client = run();
    ASSERT_TRUE(client->account.registerUser({kUser, kFirst, kFirst, "1", ""}).registered);
    ASSERT_TRUE(client->account.registerUser({"李四", kNew, kNew, "1", ""}).registered);
    ASSERT_TRUE(client->account.login({kUser, kFirst, true}).loggedIn);
    // Remembering another name drops the first name's entry.
    ASSERT_TRUE(client->account.login({"李四", kNew, true}).loggedIn);
    EXPECT_EQ(entry().answer, SystemKeyring::Answer::Missing);
    EXPECT_TRUE(isToken(entry("李四").secret));
    client->account.setRememberLogin(false);
    EXPECT_EQ(entry("李四").answer, SystemKeyring::Answer::Missing);
    EXPECT_EQ(keyring.read(otherService, kUser).secret, kNewDigest);
    keyring.remove(otherService, kUser);
}

}  // namespace
