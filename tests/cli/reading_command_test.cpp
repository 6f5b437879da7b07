// `reading`: the 用神 of the question with its family and dates as JSON or text, and bad input.
#include "cli/reading_command.h"
#include "cli/chart_command.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <sstream>

namespace {

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

CliResult run(int (*command)(const QStringList&, std::ostream&, std::ostream&), QStringList args) {
    static QTemporaryDir dir;
    args << QStringLiteral("--data-dir") << dir.path();
    std::ostringstream out, err;
    const int status = command(args, out, err);
    return {status, out.str(), err.str()};
}

// 天风姤 on 丙戌 day, 丁酉 month: 父母 1 6, 子孙 2, 兄弟 3 5, 官鬼 4; 妻财寅木 hides under 二爻.
const QString kCase = QStringLiteral("20260909113312T:17:28:00");

TEST(ReadingCommand, JsonOfTheHiddenWealth) {
    const CliResult r =
        run(cli::runReading, {kCase, QStringLiteral("--question"), QStringLiteral("求财"), QStringLiteral("--within"),
                              QStringLiteral("9"), QStringLiteral("--json")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"妻财\""), std::string::npos);  // the characters themselves
    EXPECT_EQ(r.out.find("\\u"), std::string::npos);
    const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
    EXPECT_EQ(o.value("question").toString(), u"求财");
    const QJsonObject god = o.value("useGod").toObject();
    EXPECT_EQ(god.value("relative").toString(), u"妻财");
    EXPECT_EQ(god.value("source").toString(), u"伏神");
    EXPECT_TRUE(god.value("positions").toArray().isEmpty());
    EXPECT_EQ(god.value("chosen").toInt(), 2);
    EXPECT_TRUE(god.value("hidden").toBool());
    EXPECT_EQ(god.value("flyingGod").toString(), u"子孙亥水");
    EXPECT_EQ(god.value("flyingRelation").toString(), u"飞生伏");
    EXPECT_TRUE(o.value("secondGod").isNull());
    EXPECT_EQ(o.value("tabooGod").toObject().value("relative").toString(), u"兄弟");
    EXPECT_EQ(o.value("tabooGod").toObject().value("positions").toArray(), (QJsonArray{3, 5}));
    // 寅 waits for a 寅 day (值) and, still, for a 申 day (冲): 庚寅 four days on; 丙申, ten days on, is past the nine
    // asked.
    const QJsonArray timing = o.value("timing").toArray();
    ASSERT_EQ(timing.size(), 1);
    EXPECT_EQ(timing[0].toObject(), (QJsonObject{{"date", "2026-09-13"}, {"dayPillar", "庚寅"}, {"kind", "值"}}));
    EXPECT_TRUE(o.value("structure").isObject());
    EXPECT_TRUE(o.value("spirits").isArray());
}

TEST(ReadingCommand, TextFormAndMarriageWithoutAGender) {
    CliResult r = run(cli::runReading, {kCase, QStringLiteral("--question"), QStringLiteral("婚姻"),
                                        QStringLiteral("--gender"), QStringLiteral("女")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("用神: 官鬼 来源 line 爻位 4 取 4 (独现)"), std::string::npos) << r.out;
    r = run(cli::runReading, {kCase, QStringLiteral("--question"), QStringLiteral("婚姻"), QStringLiteral("--json")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object().value("useGod").isNull());
}

TEST(ReadingCommand, BadValuesExitWithTwoNamingWhatIsAllowed) {
    struct Row {
        QStringList args;
        const char* named;
    };
    const Row rows[] = {
        {{QStringLiteral("--question"), QStringLiteral("求雨")}, "自身 他人"},
        {{QStringLiteral("--gender"), QStringLiteral("男性")}, "男 or 女"},
        {{QStringLiteral("--within"), QStringLiteral("401")}, "1..400"},
        {{QStringLiteral("--within"), QStringLiteral("0")}, "1..400"},
    };
    for (const Row& row : rows) {
        const CliResult r = run(cli::runReading, QStringList{kCase} + row.args);
        EXPECT_EQ(r.status, 2) << row.named;
        EXPECT_NE(r.err.find(row.named), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

TEST(ChartCommand, JsonWritesChineseAsItself) {
    const CliResult r = run(cli::runChart, {kCase, QStringLiteral("--json")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("天风姤"), std::string::npos);
    EXPECT_EQ(r.out.find("\\u"), std::string::npos);
}

}  // namespace
