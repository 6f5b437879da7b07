// Login, registration and password change against the real case service.
#include "account/password_digest.h"
#include "desktop_client.h"
#include "local_services.h"
#include "store/settings.h"
#include "test_support/qt_printers.h"

#include <gtest/gtest.h>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

using cloud_test::CannedHttpServer;
using cloud_test::DesktopClient;
using cloud_test::ServiceProcess;

QString categoryName(store::Database& db, qint64 categoryId) {
    return db.getFirstString("select lei_mingcheng from fenlei_table where lei_id=?", {categoryId});
}

TEST(Registration, ChecksInOrderThenReportsTheServicesAnswer) {
    ServiceProcess service;
    DesktopClient client(service.address());
    const struct {
        cloud::Registration form;
        QStringList messages;
        bool registered;
    } cases[] = {
        {{"", "p", "p", "1", ""}, {"用户名不能为空"}, false},
        {{"u", "", "", "1", ""}, {"密码不能为空"}, false},
        {{"u", "p", "q", "1", ""}, {"密码两次输入的不同"}, false},
        {{"u", "p", "p", "", ""}, {"手机号或者电子邮箱号必须输入一个。"}, false},
        {{"u", "p", "p", "", "u@example.org"}, {"注册成功。"}, true},
        {{"u", "x", "x", "1", ""}, {"用户名已经存在。请换个用户名。", "出现错误，信息为：no"}, false},
        // The service refuses names of more than 32 characters.
        {{QString(33, u'名'), "p", "p", "1", ""}, {"注册失败。", "出现错误，信息为：cancel"}, false},
    };
    for (const auto& c : cases) {
        const auto outcome = client.account.registerUser(c.form);
        EXPECT_EQ(outcome.messages, c.messages) << c.form.userName.toStdString();
        EXPECT_EQ(outcome.registered, c.registered) << c.form.userName.toStdString();
    }
    service.stop();
    EXPECT_EQ(client.account.registerUser({"v", "p", "p", "1", ""}).messages, QStringList{"网络错误，请重试。"});
}

TEST(Login, RefusalsLeaveTheRunLoggedOutAndForgetNothing) {
    ServiceProcess service;
    DesktopClient client(service.address());
    client.account.registerUser({"u", "right", "right", "1", ""});
    client.account.registerUser({"gone", "p", "p", "1", ""});
    {
        auto users = QSqlDatabase::addDatabase("QSQLITE", "service-users");
        users.setDatabaseName(service.databaseFile());
        ASSERT_TRUE(users.open());
        QSqlQuery(users).exec("update users set disabled=1 where nm='gone'");
        users.close();
    }
    QSqlDatabase::removeDatabase("service-users");

    const struct {
        cloud::LoginRequest request;
        QString message;
    } cases[] = {
        {{"", "right", true}, "请输入用户名。"},
        {{"u", "", true}, "请输入密码。"},
        {{"u", "wrong", true}, "账号或密码错误，不能登陆。"},
        {{"nobody", "right", true}, "账号或密码错误，不能登陆。"},
        {{"gone", "p", true}, cloud::disabledAccountNotice()},
    };
    for (const auto& c : cases) {
        const auto outcome = client.account.login(c.request);
        EXPECT_FALSE(outcome.loggedIn);
        EXPECT_EQ(outcome.message, c.message) << c.request.userName.toStdString();
    }
    service.stop();
    EXPECT_EQ(client.account.login({"u", "right", true}).message, "网络错误，登陆失败。");
    EXPECT_FALSE(client.session.loggedIn());
    EXPECT_EQ(client.account.remembered().userName, "");
}

TEST(Login, BareOkLogsInAndRemembersOnlyWhenAsked) {
    ServiceProcess service;  // no message, link or version, and no categories: the reply is "ok"
    DesktopClient client(service.address());
    client.account.registerUser({"u", "pw 1", "pw 1", "1", ""});
    client.account.setRememberLogin(true);

    auto outcome = client.account.login({"u", "pw 1", false});
    EXPECT_TRUE(outcome.loggedIn);
    EXPECT_EQ(outcome.messageLabel, std::nullopt);
    EXPECT_FALSE(outcome.offerUpdate);
    EXPECT_EQ(client.session.userName(), "u");
    EXPECT_EQ(client.session.messageUrl(), "");
    EXPECT_EQ(client.account.remembered().userName, "") << "not remembered when unticked";

    EXPECT_TRUE(client.account.login({"u", "pw 1", true}).loggedIn);
    cloud::LoginMemory remembered = client.account.remembered();
    EXPECT_EQ(remembered.userName, "u");
    EXPECT_TRUE(remembered.passwordRemembered);
    client.account.setRememberLogin(false);
    remembered = client.account.remembered();
    EXPECT_EQ(remembered.userName, "u");
    EXPECT_FALSE(remembered.passwordRemembered) << "the box unticked forgets the password";
    EXPECT_EQ(store::Settings(*client.db).get(store::setting::loginPassword), "");
}

TEST(Login, FullReplyGivesMessageLinkVersionPromptAndCategoryNames) {
    for (const int version : {3, 4}) {
        ServiceProcess service({"--message", "欢迎 使用+青岚 100%", "--url", "http://news.example.org/a?b=1",
                                "--offer-version", QString::number(version)});
        DesktopClient first(service.address());
        ASSERT_TRUE(first.logIn("u", "p"));
        // The user's own names for two categories live in the service after a rename.
        EXPECT_EQ(cloud_test::renameCategory(first.lists, &first.cloudCases, 2, "生意"), "");
        EXPECT_EQ(cloud_test::renameCategory(first.lists, &first.cloudCases, 99, "只在网络"), "");

        DesktopClient second(service.address());
        const auto outcome = second.account.login({"u", "p", false});
        ASSERT_TRUE(outcome.loggedIn) << outcome.message.toStdString();
        EXPECT_EQ(outcome.messageLabel, std::optional<QString>("欢迎 使用+青岚 100%"));
        EXPECT_EQ(second.session.messageUrl(), "http://news.example.org/a?b=1");
        EXPECT_EQ(outcome.offerUpdate, version > 3);
        EXPECT_EQ(categoryName(*second.db, 2), "生意");
        EXPECT_EQ(categoryName(*second.db, 3), "事业") << "a category the service does not name stays";
        EXPECT_EQ(second.db->getFirstInteger("select count(*) from fenlei_table where lei_id=99"), 0)
            << "a category only the service has is not created";
    }
}

TEST(Login, MalformedNoticeEndsTheAttemptWithNothingTakenOver) {
    const struct {
        QByteArray reply;
        QString message;
    } cases[] = {
        {"ok<t>%4E<msg>http://x<url>0<v><t>生意<t>2<t>", "出现错误，信息为：Invalid hex digit in URL"},
        {"ok<t>%4E2D<msg>http://x<url>four<v><t>生意<t>2<t>", "出现错误，信息为：版本号不是整数：four"},
        {"welcome", "出现错误，信息为：welcome"},
    };
    for (const auto& c : cases) {
        CannedHttpServer server(c.reply);
        DesktopClient client(server.address());
        const auto outcome = client.account.login({"u", "p", true});
        EXPECT_FALSE(outcome.loggedIn);
        EXPECT_EQ(outcome.message, c.message);
        EXPECT_EQ(outcome.messageLabel, std::nullopt);
        EXPECT_FALSE(client.session.loggedIn());
        EXPECT_EQ(client.session.messageUrl(), "");
        EXPECT_EQ(client.account.remembered().userName, "");
        EXPECT_EQ(categoryName(*client.db, 2), "求财");
    }
}

TEST(Login, PasswordsNeverGoInClearTextToAnotherHost) {
    for (const char* address : {"http://192.0.2.1:8080/", "http://cases.example.org/"}) {
        DesktopClient client{QUrl(address)};
        const auto outcome = client.account.login({"u", "p", false});
        EXPECT_FALSE(outcome.loggedIn);
        EXPECT_TRUE(outcome.message.contains(QUrl(address).host()) && outcome.message.contains("https://"))
            << outcome.message.toStdString();
        EXPECT_EQ(client.account.registerUser({"u", "p", "p", "1", ""}).messages, QStringList{outcome.message});
    }
}

TEST(Login, LaterRequestsCarryTheSessionTokenNeverTheDigest) {
    const QByteArray token(64, 'c');
    CannedHttpServer server(QByteArray("ok<t>%4E2D<msg>file:///etc/passwd<url>0<v><t>"), 200,
                            "X-Qinglan-Session: " + token + "\r\n");
    DesktopClient client(server.address());
    const auto outcome = client.account.login({"u", "secret", false});
    ASSERT_TRUE(outcome.loggedIn) << outcome.message.toStdString();
    EXPECT_EQ(client.session.messageUrl(), "") << "only http and https links are kept";
    client.cloudCases.recentCases();
    client.logOut();
    EXPECT_FALSE(client.session.loggedIn());
    ASSERT_EQ(server.requests().size(), 3);
    const QByteArray digest = account::passwordDigest("secret").toLatin1();
    EXPECT_TRUE(cloud_test::bodyOf(server.requests()[0]).endsWith("&pw=" + digest)) << "the login sends the digest";
    for (int i : {1, 2}) {
        EXPECT_TRUE(cloud_test::bodyOf(server.requests()[i]).endsWith("&pw=" + token))
            << server.requests()[i].toStdString();
        EXPECT_FALSE(server.requests()[i].contains(digest));
    }
    EXPECT_TRUE(server.requests()[2].startsWith("POST /logout.php "));
}

TEST(Login, WithoutASessionTokenInTheReplyNobodyIsLoggedIn) {
    CannedHttpServer server(QByteArray("ok"), 200, "X-Qinglan-Session: not-a-token\r\n");
    DesktopClient client(server.address());
    const auto outcome = client.account.login({"u", "secret", true});
    EXPECT_FALSE(outcome.loggedIn);
    EXPECT_FALSE(client.session.loggedIn());
    EXPECT_EQ(outcome.message, "出现错误，信息为：网络服务没有给出登录凭据");
}

TEST(PasswordChange, ChecksThenChangesAndLaterRequestsStillPass) {
    ServiceProcess service;
    DesktopClient client(service.address());
    ASSERT_TRUE(client.logIn("u", "old"));
    const struct {
        cloud::PasswordChange change;
        QString message;
        bool changed;
    } cases[] = {
        {{"", "new", "new"}, "请输入原密码", false},
        {{"old", "", ""}, "请输入新密码", false},
        {{"old", "new", "neu"}, "两次输入的新密码不同。", false},
        {{"wrong", "new", "new"}, "原密码不正确，无法修改。", false},
        {{"old", "new", "new"}, "密码修改成功", true},
    };
    for (const auto& c : cases) {
        const auto outcome = client.account.changePassword(c.change);
        EXPECT_EQ(outcome.message, c.message);
        EXPECT_EQ(outcome.changed, c.changed);
    }
    // The run goes on with the new password: its cases are still its own.
    const store::CastCase cast{"乾为天", "20240101111111京房式T:01:00:00", "杂类", "男", "", "", {2024, 1, 1}, false};
    EXPECT_EQ(client.cases.createCase(cast).cloudMessage, "");
    EXPECT_EQ(client.cloudCases.recentCases().rows.size(), 1);
    DesktopClient other(service.address());
    EXPECT_FALSE(other.logIn("u", "old", false));
    EXPECT_TRUE(other.logIn("u", "new", false));
    service.stop();
    EXPECT_EQ(client.account.changePassword({"new", "x", "x"}).message, "网络保存出错：neterror");
}

}  // namespace
