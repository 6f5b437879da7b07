#include "cli/analyse_command.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <sstream>

namespace {

struct CliResult {
    int status;
    QStringList out;
    std::string err;
};

CliResult analyse(QStringList args) {
    static QTemporaryDir dir;
    args << QStringLiteral("--data-dir") << dir.path() << QStringLiteral("--today") << QStringLiteral("2026-12-08");
    std::ostringstream out, err;
    const int status = cli::runAnalyse(args, out, err);
    return {status, QString::fromStdString(out.str()).split(u'\n'), err.str()};
}

TEST(AnalyseCommand, ItemModePrintsTheFlagsAfterTheReport) {
    // 天风姤 on 2024-02-04 17:00, the hidden 妻财寅木 of the fifth line from the top.
    const CliResult r = analyse({QStringLiteral("20240204111112T:17:00:00"), QStringLiteral("--line"),
                                 QStringLiteral("5"), QStringLiteral("--column"), QStringLiteral("1")});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.out.size(), 14);  // ten report lines, three flag lines, the final line break
    EXPECT_EQ(r.out[0], u"寅申冲");
    EXPECT_EQ(r.out[5], QString(31, u'*'));
    EXPECT_EQ(r.out.mid(10, 3), QStringList({QStringLiteral("0 0 0 0 0 0"), QStringLiteral("0 16 4 0 32 0"),
                                             QStringLiteral("0 0 0 0 0 0")}));
}

TEST(AnalyseCommand, WholeChartWithTheBasisChosenAfterTheBuild) {
    // Under 年月 the second slot holds the month 丙寅: horse and noble follow 寅 and 丙.
    const CliResult r =
        analyse({QStringLiteral("20240204111111T:17:00:00"), QStringLiteral("--basis"), QStringLiteral("年月")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.mid(0, 2), QStringList({QStringLiteral("驿马-申 桃花-卯"), QStringLiteral("贵人-亥酉")}));
    EXPECT_TRUE(r.out.contains(QStringLiteral("世第6爻：父母戌土 月建 12宫 (墓)")));
}

TEST(AnalyseCommand, BadItemsAndMissingMarks) {
    for (const QStringList& extra :
         {QStringList{QStringLiteral("--line"), QStringLiteral("7"), QStringLiteral("--column"), QStringLiteral("1")},
          QStringList{QStringLiteral("--line"), QStringLiteral("1")},
          QStringList{QStringLiteral("--column"), QStringLiteral("x")}}) {
        const CliResult r = analyse(QStringList{QStringLiteral("20240204111111")} + extra);
        EXPECT_EQ(r.status, 2) << extra.join(u' ').toStdString();
    }
    // A 0 among the codes would leave the chart without world and response marks: refused first.
    const CliResult r = analyse({QStringLiteral("20240204011111")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.join(QString()).isEmpty());
    EXPECT_NE(r.err.find("must each be 1..4"), std::string::npos) << r.err;
}

TEST(AnalyseCommand, AnItemTheChartDoesNotHaveIsRefused) {
    // 20000107113113: codes top first 1 1 3 1 1 3; lines 3 and 6 move (old yang), the others are
    // static. A static line has no changed item; the main item of every line exists.
    const struct {
        QStringList extra;
        int status;
    } cases[] = {
        {{"--line", "1", "--column", "3"}, 2}, {{"--line", "2", "--column", "3"}, 2},
        {{"--line=5", "--column=3"}, 2},       {{"--line", "3", "--column", "3"}, 0},
        {{"--line", "6", "--column", "3"}, 0}, {{"--line", "1", "--column", "2"}, 0},
    };
    for (const auto& c : cases) {
        const CliResult r = analyse(QStringList{QStringLiteral("20000107113113T:11:31:13")} + c.extra);
        EXPECT_EQ(r.status, c.status) << c.extra.join(u' ').toStdString() << "\n" << r.err;
        if (c.status == 0) continue;
        EXPECT_TRUE(r.out.join(QString()).isEmpty()) << c.extra.join(u' ').toStdString();
        EXPECT_NE(r.err.find("qinglan-cli analyse: line "), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("has no changed line"), std::string::npos) << r.err;
    }
}

TEST(AnalyseCommand, CalendarOptionReachesTheSlots) {
    // Under 年月 the second slot is the month: 丙寅 after the formulas' 立春 (16:25), still 乙丑
    // before the published one (16:27), so the horse and the noble follow 丑 and 乙 instead.
    const QStringList args = {QStringLiteral("20240204111111T:16:26:00"), QStringLiteral("--basis"),
                              QStringLiteral("年月")};
    CliResult r = analyse(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.mid(0, 2), QStringList({QStringLiteral("驿马-申 桃花-卯"), QStringLiteral("贵人-亥酉")}));
    r = analyse(args + QStringList{QStringLiteral("--calendar"), QStringLiteral("astronomical")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.mid(0, 2), QStringList({QStringLiteral("驿马-亥 桃花-午"), QStringLiteral("贵人-子申")}));
}

}  // namespace
