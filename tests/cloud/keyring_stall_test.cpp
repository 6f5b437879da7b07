// A keyring that takes calls and never answers them: the login waits for it once, for the time
// given, and the device token goes to the token file. Runs on a session bus of its own
// (in_keyring_session.sh --bus-only), where this test itself owns the Secret Service's name.
#include "cloud/system_keyring.h"
#include "desktop_client.h"
#include "local_services.h"
#include "store/settings.h"
#include "test_support/qt_printers.h"

#include <gtest/gtest.h>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QTemporaryDir>

namespace {

using cloud::SystemKeyring;

// Takes every call on every path and never replies.
class SilentService : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return QString(); }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override {
        message.setDelayedReply(true);
        return true;
    }
};

TEST(StuckKeyring, IsWaitedForOnceAndTheTokenGoesToTheFile) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) GTEST_SKIP() << "no session bus (run the test through in_keyring_session.sh --bus-only)";
    SilentService silent;
    ASSERT_TRUE(bus.registerService("org.freedesktop.secrets"));
    ASSERT_TRUE(bus.registerVirtualObject("/", &silent, QDBusConnection::SubPath));

    const SystemKeyring probe(std::chrono::milliseconds(300));
    probe.write("Qinglan probe", "probe", "x");
    if (!probe.stalled()) GTEST_SKIP() << "QtKeychain does not reach the Secret Service here (libsecret-1-0 missing)";

    const SystemKeyring keyring(std::chrono::milliseconds(500));
    cloud_test::ServiceProcess service;
    QTemporaryDir dir;
    cloud_test::DesktopClient client(service.address(), store::Database::open(dir.filePath("qinglan.db")), &keyring);
    ASSERT_TRUE(client.account.registerUser({"张三", "First#Pass1", "First#Pass1", "1", ""}).registered);
    ASSERT_TRUE(client.account.login({"张三", "First#Pass1", true}).loggedIn);
    EXPECT_TRUE(keyring.stalled());
    // The device's token went to the token file; the row only says so.
    EXPECT_EQ(store::Settings(*client.db).get(store::setting::loginPassword), QStringLiteral("\u0001token:file"));
    EXPECT_TRUE(client.account.login({"张三", "", true}).loggedIn);
    client.account.setRememberLogin(false);
    EXPECT_EQ(store::Settings(*client.db).get(store::setting::loginPassword), "");
}

}  // namespace
