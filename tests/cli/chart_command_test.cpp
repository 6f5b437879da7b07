#include "cli/chart_command.h"

#include <gtest/gtest.h>

#include <QFileInfo>
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

CliResult chartOf(QStringList args) {
    static QTemporaryDir dir;
    args << QStringLiteral("--data-dir") << dir.path() << QStringLiteral("--today") << QStringLiteral("2026-12-08");
    std::ostringstream out, err;
    const int status = cli::runChart(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(ChartCommand, PrintsTheThirteenLinesOfTheTextCopy) {
    const CliResult r = chartOf({QStringLiteral("20240204311111T:16:24:00")});
    ASSERT_EQ(r.status, 0) << r.err;
    const QStringList lines = QString::fromStdString(r.out).split(u'\n');
    ASSERT_EQ(lines.size(), 14);  // 13 lines and the final line break
    EXPECT_EQ(lines[0], u"卦例ID=20240204311111 京房式");
    EXPECT_EQ(lines[4], u"主卦：乾为天(六冲) 变卦：泽天夬");
    EXPECT_EQ(lines[7], u"朱雀\t \t  父母戌土  世\to\t父母未土");
}

TEST(ChartCommand, OptionsActAsTheWindowsWould) {
    CliResult r = chartOf({QStringLiteral("20240204111111T:17:00:00"), QStringLiteral("--hidden-changes")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("变卦：天泽履"), std::string::npos);
    r = chartOf({QStringLiteral("20240204311111T:16:24:00"), QStringLiteral("--basis"), QStringLiteral("日时")});
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("\n甲寅旬（子丑空）\n"), std::string::npos);
    r = chartOf({QStringLiteral("20240204311111T:16:24:00"), QStringLiteral("--beasts"), QStringLiteral("year"),
                 QStringLiteral("--ordinal"), QStringLiteral("后天"), QStringLiteral("--direction"),
                 QStringLiteral("先天")});
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("乾宫属金 本宫卦 序数:6 方位:南"), std::string::npos);
    EXPECT_NE(r.out.find("\n青龙\t"), std::string::npos);  // 甲 year: 青龙 on the bottom line
}

// 2024-01-01 is 甲子日: at 23:30 早子时 takes 乙丑; a bad choice names the allowed values.
TEST(ChartCommand, SchoolChoicesRepeatAndReachThePillars) {
    CliResult r = chartOf({QStringLiteral("20240101111111T:23:30:00")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("癸卯年 甲子月 甲子日"), std::string::npos);
    r = chartOf({QStringLiteral("20240101111111T:23:30:00"), QStringLiteral("--school"), QStringLiteral("advance=seven"),
                 QStringLiteral("--school"), QStringLiteral("zi-hour=early")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("癸卯年 甲子月 乙丑日"), std::string::npos);
    r = chartOf({QStringLiteral("20240101111111"), QStringLiteral("--school"), QStringLiteral("zi-hour=midnight")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("late|early"), std::string::npos) << r.err;
}

TEST(ChartCommand, JsonCarriesTheWholeChart) {
    const CliResult r = chartOf({QStringLiteral("20240204311121藏山卜T:09:05:00"), QStringLiteral("--json")});
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
    EXPECT_EQ(o.value("method").toString(), u"藏山卜");
    EXPECT_EQ(o.value("hiddenSpiritSource").toString(), u"离为火");
    EXPECT_EQ(o.value("voidPair").toString(), u"辰巳");
    EXPECT_EQ(o.value("mainLines").toArray().size(), 6);
    EXPECT_EQ(o.value("mainLines").toArray()[0].toObject().value("hiddenSpirit").toString(), u"兄弟巳火");
    EXPECT_EQ(o.value("highlight").toArray().size(), 18);
}

TEST(ChartCommand, MalformedInputExitsWithTwo) {
    for (const QStringList& args :
         {QStringList{QStringLiteral("2024")}, QStringList{QStringLiteral("2024020431x111")},
          QStringList{QStringLiteral("20240204311111"), QStringLiteral("--basis"), QStringLiteral("x")},
          QStringList{QStringLiteral("--json")},
          QStringList{QStringLiteral("20240204311111"), QStringLiteral("--bogus")},
          QStringList{QStringLiteral("20240204311111"), QStringLiteral("--calendar"), QStringLiteral("lunar")}}) {
        const CliResult r = chartOf(args);
        EXPECT_EQ(r.status, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(r.err.empty());
    }
}

TEST(ChartCommand, CalendarOptionChoosesThePillarsSource) {
    // 立春 2024: 16:25 by the formulas, 16:27 by the Hong Kong Observatory's table.
    const QString text = QStringLiteral("20240204311111T:16:26:00");
    CliResult r = chartOf({text});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\n甲辰年 丙寅月 戊戌日"), std::string::npos);
    r = chartOf({text, QStringLiteral("--calendar"), QStringLiteral("astronomical")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\n癸卯年 乙丑月 戊戌日"), std::string::npos);
    r = chartOf({text, QStringLiteral("--calendar"), QStringLiteral("astronomical"), QStringLiteral("--json")});
    const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
    EXPECT_EQ(o.value("termText").toString(), u"立春16:27天");
    EXPECT_EQ(o.value("firstSlot").toString(), u"乙丑月");
    r = chartOf(
        {QStringLiteral("18500204311111T:16:26:00"), QStringLiteral("--calendar"), QStringLiteral("astronomical")});
    // Outside the dates the calendar stands behind (the ephemeris's years): refused, range named.
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("1900-01-01 至 2100-12-31"), std::string::npos) << r.err;
}

TEST(ChartCommand, WrongInputIsRefusedWithItsReason) {
    // Each: arguments, then a part of the one message on stderr. Nothing reaches stdout.
    const struct {
        QStringList args;
        const char* said;
    } cases[] = {
        // Line codes are 1..4; a 0 or a 9 would leave rows reading "错误".
        {{"20000107000000"},
         "qinglan-cli chart: TEXT 20000107000000: the line codes (9th to 14th digits) must each "
         "be 1..4"},
        {{"20000107119113"}, "not 119113"},
        {{"20001307113113"}, "qinglan-cli chart: 六爻ID的日期不对：2000-13-07"},
        {{"20000107113113", "--beasts=week"}, "--beasts needs year, month or day, not week"},
        {{"20000107113113", "--calendar=lunar"}, "--calendar needs formula or astronomical, not lunar"},
        {{"20000107113113", "--ordinal", "中天"}, "--ordinal needs 先天 or 后天, not 中天"},
        {{"20000107113113", "20000107113113"}, "expected 1 argument, got 2"},
        {{"20000107113113", "--json=yes"}, "Unexpected value after '--json'"},
    };
    for (const auto& c : cases) {
        const CliResult r = chartOf(c.args);
        EXPECT_EQ(r.status, 2) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
    }
}

TEST(ChartCommand, OptionsTakeTheirValueWithAnEqualsSignToo) {
    const CliResult spaced = chartOf({QStringLiteral("20240204311111T:16:24:00"), QStringLiteral("--beasts"),
                                      QStringLiteral("year"), QStringLiteral("--basis"), QStringLiteral("日时")});
    const CliResult joined = chartOf(
        {QStringLiteral("20240204311111T:16:24:00"), QStringLiteral("--beasts=year"), QStringLiteral("--basis=日时")});
    ASSERT_EQ(spaced.status, 0) << spaced.err;
    EXPECT_EQ(joined.status, 0) << joined.err;
    EXPECT_EQ(joined.out, spaced.out);
    EXPECT_NE(joined.out.find("\n青龙\t"), std::string::npos);  // 甲 year: 青龙 on the bottom line
}

TEST(ChartCommand, AnswersHelpWithItsOwnOptions) {
    const CliResult r = chartOf({QStringLiteral("--help")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.starts_with("usage: qinglan-cli chart [options] TEXT")) << r.out;
    for (const char* option : {"--all-changed", "--hidden-changes", "--beasts", "--basis", "--ordinal", "--direction",
                               "--today", "--calendar", "--json", "--data-dir", "--create"})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
}

TEST(ChartCommand, ANamedDataFolderIsMadeOnlyWhenAskedFor) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("not/yet"));
    const QStringList args{QStringLiteral("20240204311111T:16:24:00"), QStringLiteral("--data-dir"), missing};
    std::ostringstream out, err;
    EXPECT_EQ(cli::runChart(args, out, err), 2);
    EXPECT_NE(err.str().find("the data folder " + missing.toStdString() + " does not exist"), std::string::npos)
        << err.str();
    EXPECT_TRUE(out.str().empty());
    EXPECT_FALSE(QFileInfo::exists(missing));

    std::ostringstream createdOut, createdErr;
    EXPECT_EQ(cli::runChart(args + QStringList{QStringLiteral("--create")}, createdOut, createdErr), 0)
        << createdErr.str();
    EXPECT_EQ(createdErr.str(), "qinglan-cli chart: created the data folder " + missing.toStdString() + "\n");
    EXPECT_TRUE(QFileInfo::exists(missing + QStringLiteral("/qinglan.db")));
}

}  // namespace
