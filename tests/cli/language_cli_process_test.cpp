// qinglan-cli as a process: its language is --lang (before the command or among its options),
// else the system's (LANGUAGE); a code it does not know exits 2 with a message.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

namespace {

std::pair<int, QByteArray> cli(QStringList args, const char* languageVariable) {
    static QTemporaryDir dir;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LANGUAGE"), QString::fromLatin1(languageVariable));
    process.setProcessEnvironment(environment);
    if (!args.isEmpty() && args.last() == u"chart")
        args << QStringLiteral("20240204311111T:16:24:00") << QStringLiteral("--data-dir") << dir.path();
    process.start(QStringLiteral(QINGLAN_CLI), args);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput() + process.readAllStandardError()};
}

TEST(LanguageCli, TheSystemsLanguageWithoutLang) {
    const auto taiwan = cli({QStringLiteral("chart")}, "zh_TW");
    EXPECT_TRUE(taiwan.second.contains("\n主卦：乾為天(六沖) 變卦：澤天夬\n")) << taiwan.second.toStdString();
    EXPECT_EQ(cli({QStringLiteral("--lang"), QStringLiteral("zh_TW"), QStringLiteral("chart")}, "zh_CN"), taiwan);
    const auto simplified = cli({QStringLiteral("chart")}, "zh_CN");
    EXPECT_TRUE(simplified.second.contains("\n主卦：乾为天(六冲) 变卦：泽天夬\n")) << simplified.second.toStdString();
    EXPECT_EQ(cli({QStringLiteral("--lang=zh_CN"), QStringLiteral("chart")}, "zh_TW"), simplified);
}

TEST(LanguageCli, AnUnknownCodeExitsWithTwo) {
    EXPECT_EQ(cli({QStringLiteral("--lang"), QStringLiteral("xx"), QStringLiteral("chart")}, "zh_CN"),
              (std::pair<int, QByteArray>{2, "qinglan-cli: --lang needs zh_CN, zh_TW or en, not xx\n"}));
    EXPECT_TRUE(cli({QStringLiteral("--help")}, "zh_CN").second.contains("\n  --lang zh_CN|zh_TW|en "));
}

}  // namespace
