// The signed update on a copy of a program file: applied when a validly signed manifest of a
// newer version matches the file, refused with anything else; and the operator's sign-update tool.
#include "cloud/self_update.h"
#include "desktop_client.h"
#include "local_services.h"
#include "qinglan_build.h"
#include "test_support/qt_printers.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// Runs the update and waits for its outcome.
cloud::UpdateOutcome ran(cloud::HttpExchange& exchange, cloud::SelfUpdate update) {
    return cloud_test::awaited<cloud::UpdateOutcome>(exchange, [&](auto done) { update.run(done); });
}

using cloud_test::ServiceProcess;

struct ToolRun {
    int status;
    QString output;
};

ToolRun signUpdate(const QStringList& arguments) {
    QProcess tool;
    tool.start(QStringLiteral(SIGN_UPDATE_BINARY), arguments);
    tool.waitForFinished();
    return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput()).trimmed()};
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

class SelfUpdateTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString key = keys.filePath("operator.key");
        const ToolRun generated = signUpdate({"keygen", key});
        ASSERT_EQ(generated.status, 0);
        operatorKey = cloud::parseUpdateKey(generated.output);
        ASSERT_TRUE(operatorKey) << generated.output.toStdString();
        ASSERT_EQ(signUpdate({"keygen", keys.filePath("stranger.key")}).status, 0);
        // The "program" is a copy of a real program file, never the running test.
        program = work.filePath("qinglan");
        ASSERT_TRUE(QFile::copy(QStringLiteral(SIGN_UPDATE_BINARY), program));
        original = contents(program);
        update = work.filePath("g.zip");
        write(update, "#!/bin/sh\necho new qinglan\n");
    }

    // Runs the update from a service that offers the update file and its signature.
    cloud::UpdateOutcome runUpdate(std::optional<cloud::UpdateKey> key) {
        ServiceProcess service({"--update-file", update});
        cloud::HttpExchange exchange;
        cloud::CloudSession session(exchange, service.address());
        return ran(exchange, cloud::SelfUpdate(session, program, key));
    }

    void expectUnchanged(const cloud::UpdateOutcome& outcome, const QString& reason) {
        EXPECT_FALSE(outcome.applied);
        EXPECT_EQ(outcome.message, reason + "程序未作任何改动。");
        EXPECT_EQ(contents(program), original);
        EXPECT_FALSE(QFile::exists(program + "2X"));
    }

    QTemporaryDir keys, work;
    std::optional<cloud::UpdateKey> operatorKey;
    QString program, update;
    QByteArray original;
};

TEST_F(SelfUpdateTest, AValidSignatureReplacesTheProgramFileKeepingItRunnable) {
    ASSERT_EQ(signUpdate({"sign", keys.filePath("operator.key"), update, "4"}).status, 0);
    const auto permissions = QFile::permissions(program);
    const auto outcome = runUpdate(operatorKey);
    EXPECT_TRUE(outcome.applied) << outcome.message.toStdString();
    EXPECT_EQ(outcome.message, "升级完成，程序将重新启动。");
    EXPECT_EQ(contents(program), contents(update));
    EXPECT_EQ(QFile::permissions(program), permissions);
    EXPECT_FALSE(QFile::exists(program + "2X"));
}

TEST_F(SelfUpdateTest, AnythingButAValidSignatureChangesNothing) {
    const QString mismatch = "下载的新版本与签名不符，可能已被篡改，已拒绝安装。";
    expectUnchanged(runUpdate(operatorKey), "下载新版本的签名失败。");
    ASSERT_EQ(signUpdate({"sign", keys.filePath("stranger.key"), update, "4"}).status, 0);
    expectUnchanged(runUpdate(operatorKey), "新版本的签名无效，可能已被篡改，已拒绝安装。");
    // The manifest is signed as a whole: a version raised afterwards breaks the signature.
    ASSERT_EQ(signUpdate({"sign", keys.filePath("operator.key"), update, "4"}).status, 0);
    const QByteArray manifest = contents(update + ".sig");
    write(update + ".sig", QByteArray(manifest).replace("version=4", "version=9"));
    expectUnchanged(runUpdate(operatorKey), "新版本的签名无效，可能已被篡改，已拒绝安装。");
    // A validly signed older or equal version is a downgrade.
    ASSERT_EQ(signUpdate({"sign", keys.filePath("operator.key"), update, "3"}).status, 0);
    expectUnchanged(runUpdate(operatorKey), "签名的新版本（3）不比本程序新，已拒绝安装。");
    // A file other than the signed one: longer, or as long with other bytes.
    ASSERT_EQ(signUpdate({"sign", keys.filePath("operator.key"), update, "4"}).status, 0);
    write(update, "#!/bin/sh\necho new qinglan\n# and more\n");
    expectUnchanged(runUpdate(operatorKey), mismatch);
    write(update, "#!/bin/sh\necho NEW qinglan\n");
    expectUnchanged(runUpdate(operatorKey), mismatch);
    write(update, "#!/bin/sh\necho new\n");
    expectUnchanged(runUpdate(operatorKey), mismatch);
    expectUnchanged(runUpdate(std::nullopt), "本程序没有内置升级公钥，不能自动升级。");
    write(update, "");
    expectUnchanged(runUpdate(operatorKey), "下载的新版本是空的。");
    // The service refuses to start without its update file; one removed while it runs is not found.
    write(update, "#!/bin/sh\necho new qinglan\n");
    ServiceProcess service({"--update-file", update});
    QFile::remove(update);
    cloud::HttpExchange exchange;
    cloud::CloudSession session(exchange, service.address());
    expectUnchanged(ran(exchange, cloud::SelfUpdate(session, program, operatorKey)), "下载新版本失败。");
}

TEST_F(SelfUpdateTest, LeftoverCopiesAreRemovedAndTheToolVerifies) {
    for (const char* suffix : {"2", "3", "2X"}) write(program + suffix, "old");
    cloud::HttpExchange exchange;
    cloud::CloudSession session(exchange, QUrl("http://127.0.0.1:1/"));
    cloud::SelfUpdate(session, program, operatorKey).removeLeftoverCopies();
    EXPECT_EQ(QDir(work.path()).entryList(QDir::Files), (QStringList{"g.zip", "qinglan"}));

    const QString publicKey = signUpdate({"public", keys.filePath("operator.key")}).output;
    ASSERT_EQ(signUpdate({"sign", keys.filePath("operator.key"), update, "4"}).status, 0);
    EXPECT_EQ(signUpdate({"verify", publicKey, update}).output, "valid, version 4");
    EXPECT_EQ(signUpdate({"verify", publicKey, update}).status, 0);
    write(update, "changed");
    EXPECT_EQ(signUpdate({"verify", publicKey, update}).status, 1);
    EXPECT_NE(signUpdate({"keygen", keys.filePath("operator.key")}).status, 0) << "a key is never overwritten";
}

TEST(SignUpdateTool, AnswersHelpAndVersionAndRefusesAnUnknownCommand) {
    const ToolRun help = signUpdate({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.output.startsWith("usage: sign-update keygen")) << help.output.toStdString();
    const ToolRun version = signUpdate({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output, QStringLiteral("sign-update " QINGLAN_VERSION));
    EXPECT_EQ(signUpdate({"resign", "x"}).status, 2);
}

TEST(PackageManagerInstall, IsRecognisedByThePrefixOfTheProgramFile) {
    // Debian's packages install programs under /usr; /usr/local and any other folder belong to
    // the user, who may replace the file.
    const struct {
        const char* path;
        bool managed;
    } cases[] = {
        {"/usr/bin/qinglan", true},
        {"/usr/games/qinglan", true},
        {"/usr/local/bin/qinglan", false},
        {"/opt/qinglan/bin/qinglan", false},
        {"/home/user/qinglan/build/bin/qinglan", false},
        {"/usr/local/../bin/qinglan", true},
        {"/usrx/bin/qinglan", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cloud::isUnderPackageManager(QString::fromLatin1(c.path)), c.managed) << c.path;
}

TEST_F(SelfUpdateTest, AProgramOfThePackageManagerIsNeverReplaced) {
    ServiceProcess service({"--update-file", update});
    cloud::HttpExchange exchange;
    cloud::CloudSession session(exchange, service.address());
    const cloud::SelfUpdate installed(session, QStringLiteral("/usr/bin/qinglan"), operatorKey);
    EXPECT_TRUE(installed.underPackageManager());
    const cloud::UpdateOutcome outcome =
        ran(exchange, cloud::SelfUpdate(session, QStringLiteral("/usr/bin/qinglan"), operatorKey));
    EXPECT_FALSE(outcome.applied);
    EXPECT_EQ(outcome.message, QStringLiteral("本程序由系统的软件包管理器安装，请用它升级。程序未作任何改动。"));
    EXPECT_FALSE(cloud::SelfUpdate(session, program, operatorKey).underPackageManager());
}

}  // namespace
