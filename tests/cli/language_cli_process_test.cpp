// qinglan-cli as a process: its language comes from --lang (before the command or among its
// options), else from the system's (LANGUAGE); a code it does not know exits 2 with a message.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace {

struct CliRun {
    int status = -1;
    QByteArray out, err;
};

CliRun cli(const QStringList& args, const char* languageVariable) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LANGUAGE"), QString::fromLatin1(languageVariable));
    process.setProcessEnvironment(environment);
    process.setProgram(QStringLiteral(QINGLAN_CLI));
    process.setArguments(args);
    process.start();
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

QStringList chartArgs() {
    static QTemporaryDir dir;
    return {QStringLiteral("chart"),      QStringLiteral("20240204311111T:16:24:00"),
            QStringLiteral("--data-dir"), dir.path(),
            QStringLiteral("--today"),    QStringLiteral("2026-12-08")};
}

TEST(LanguageCli, TheSystemsLanguageWithoutLang) {
    const CliRun taiwan = cli(chartArgs(), "zh_TW");
    ASSERT_EQ(taiwan.status, 0) << taiwan.err.toStdString();
    EXPECT_TRUE(taiwan.out.contains("主卦：乾為天(六沖) 變卦：澤天夬\n")) << taiwan.out.toStdString();
    EXPECT_EQ(cli(chartArgs() << QStringLiteral("--lang") << QStringLiteral("zh_TW"), "zh_CN").out, taiwan.out);

    const CliRun simplified = cli(chartArgs(), "zh_CN");
    ASSERT_EQ(simplified.status, 0) << simplified.err.toStdString();
    EXPECT_TRUE(simplified.out.contains("主卦：乾为天(六冲) 变卦：泽天夬\n")) << simplified.out.toStdString();
    EXPECT_EQ(cli(chartArgs() << QStringLiteral("--lang") << QStringLiteral("zh_CN"), "zh_TW").out, simplified.out);
}

TEST(LanguageCli, LangBeforeTheCommandActsAsAfterIt) {
    const CliRun before = cli(QStringList{QStringLiteral("--lang"), QStringLiteral("zh_TW")} + chartArgs(), "zh_CN");
    ASSERT_EQ(before.status, 0) << before.err.toStdString();
    EXPECT_EQ(before.out, cli(chartArgs() << QStringLiteral("--lang=zh_TW"), "zh_CN").out);
    // The command's own --lang wins over the one before it.
    EXPECT_EQ(cli(QStringList{QStringLiteral("--lang"), QStringLiteral("zh_TW")} + chartArgs() +
                      QStringList{QStringLiteral("--lang"), QStringLiteral("zh_CN")},
                  "zh_TW")
                  .out,
              cli(chartArgs(), "zh_CN").out);
}

TEST(LanguageCli, AnUnknownCodeExitsWithTwo) {
    for (const QStringList& args : {QStringList{QStringLiteral("--lang"), QStringLiteral("xx")} + chartArgs(),
                                    chartArgs() << QStringLiteral("--lang") << QStringLiteral("xx"),
                                    QStringList{QStringLiteral("--lang"), QStringLiteral("xx")}}) {
        const CliRun run = cli(args, "zh_CN");
        EXPECT_EQ(run.status, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains("--lang needs zh_CN, zh_TW or en, not xx")) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_TRUE(cli({QStringLiteral("--help")}, "zh_CN").out.contains("--lang zh_CN|zh_TW|en"));
}

}  // namespace
