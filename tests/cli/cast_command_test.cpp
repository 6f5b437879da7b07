// qinglan-cli cast, the place and clock options of the chart commands, and the dates refused.
#include "cli/cast_command.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <sstream>

#include "cli/chart_command.h"

namespace {

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

template <typename Run>
CliResult run(Run command, QStringList args) {
    static QTemporaryDir dir;
    args << QStringLiteral("--data-dir") << dir.path();
    std::ostringstream out, err;
    const int status = command(args, out, err);
    return {status, out.str(), err.str()};
}

CliResult cast(const QStringList& args) { return run(cli::runCast, args); }
CliResult chart(const QStringList& args) { return run(cli::runChart, args); }

TEST(CastCommand, PrintsTheCaseNumberOfEachWayOfCasting) {
    struct Case {
        QStringList args;
        const char* printed;
    };
    const Case cases[] = {
        // 观梅占: 甲辰年十二月十七日申时 → 泽火革, line 1 moving.
        {{"--time", "2025-01-16T15:30:00"}, "20250116211123京房式T:15:30:00\n"},
        {{"--time", "--at", "2025-01-16T15:30:00"}, "20250116211123京房式T:15:30:00\n"},
        // 3 离 above, 5 巽 below, 3 + 5 + 9 (申) = 17 → line 5.
        {{"--numbers", "3", "5", "--hour", "--at", "2025-01-16T15:30:00"}, "20250116141112京房式T:15:30:00\n"},
        {{"--numbers", "3", "5", "7", "--at", "2025-01-16T15:30:00", "--school", "plum-third=sum"},
         "20250116121312京房式T:15:30:00\n"},
        {{"--time", "2025-01-16T15:30:00", "--method", "藏山卜"}, "20250116211123藏山卜T:15:30:00\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const CliResult r = cast(c.args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.printed);
    }
}

TEST(CastCommand, YarrowGivesSixLineCodesAndTheChartFollowsTheMethod) {
    const CliResult r = cast({"--yarrow", "--at", "2024-02-04T16:25:00", "--chart", "--method", "藏山卜"});
    ASSERT_EQ(r.status, 0) << r.err;
    const QStringList lines = QString::fromStdString(r.out).split(u'\n');
    ASSERT_GE(lines.size(), 14);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^20240204[1-4]{6}藏山卜T:16:25:00$")).match(lines[0]).hasMatch());
    EXPECT_EQ(lines[1], QStringLiteral("卦例ID=") + lines[0].left(14) + QStringLiteral(" 藏山卜"));
}

TEST(CastCommand, WrongArgumentsAreRefused) {
    const QList<QStringList> bad{
        {"--time", "--numbers", "3", "5"},
        {},
        {"--numbers", "3", "5", "7", "--hour"},
        {"--yarrow", "3"},
        {"--numbers", "3", "x5"},
        {"--time", "2025-13-01T10:00:00"},
        {"--yarrow", "--method", "随机"},
    };
    for (const QStringList& args : bad) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const CliResult r = cast(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(r.err.empty());
    }
}

TEST(SupportedDates, EveryEntryRefusesDatesOutsideTheCalendarAndSaysWhich) {
    const std::string range = "1900-01-01 至 2100-12-31";
    for (const char* moment : {"1899-12-31T23:59:59", "2101-01-01T00:00:00"}) {
        const CliResult r = cast({"--time", moment});
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(range), std::string::npos) << r.err;
    }
    for (const char* number : {"18991231111111", "21010101111111"}) {
        const CliResult r = chart({number});
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(range), std::string::npos) << r.err;
    }
    for (const char* number : {"19000101111111", "21001231111111"}) EXPECT_EQ(chart({number}).status, 0);
}

QJsonObject jsonOf(const CliResult& r) { return QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object(); }

TEST(CastPlaceOptions, VancouverEveningIsTheNextDayInBeijing) {
    // 20:30 on 5 January at UTC-8 is 12:30 on 6 January in Beijing: 己巳日 (2024-01-06), 午 hour.
    const QStringList number{"20240105111111T:20:30:00"};
    const CliResult plain = chart(number + QStringList{"--json"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_FALSE(jsonOf(plain).contains(QStringLiteral("beijingTime")));
    EXPECT_TRUE(jsonOf(plain).value(QStringLiteral("pillarLabel")).toString().contains(QStringLiteral("戊辰日")));

    const CliResult r = chart(number + QStringList{"--json", "--place", "-123.1,America/Vancouver"});
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject o = jsonOf(r);
    EXPECT_EQ(o.value(QStringLiteral("beijingTime")).toString(), QStringLiteral("2024-01-06T12:30:00"));
    EXPECT_FALSE(o.contains(QStringLiteral("trueSolarTime")));
    EXPECT_EQ(o.value(QStringLiteral("castDate")).toString(), QStringLiteral("2024-01-05"));
    EXPECT_EQ(o.value(QStringLiteral("secondSlot")).toString(), QStringLiteral("己巳日"));
    const QString label = o.value(QStringLiteral("pillarLabel")).toString();
    EXPECT_TRUE(label.contains(QStringLiteral("2024-01-05 20:30:00 北京时间 2024-01-06 12:30（时辰:庚午"))) << label.toStdString();
    EXPECT_EQ(o.value(QStringLiteral("caseNumber")).toString(), QStringLiteral("20240105111111"));

    const CliResult solar =
        chart(number + QStringList{"--json", "--place", "-123.1,America/Vancouver", "--time-rule", "solar"});
    ASSERT_EQ(solar.status, 0) << solar.err;
    EXPECT_TRUE(jsonOf(solar).contains(QStringLiteral("trueSolarTime")));
}

TEST(CastPlaceOptions, BadPlacesAndRulesAreRefused) {
    for (const QStringList& args : QList<QStringList>{{"--place", "east"},
                                                      {"--place", "13.4,Europe/Atlantis"},
                                                      {"--time-rule", "local"},
                                                      {"--place", "13.4,Europe/Berlin"}}) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        // The last one is refused for its clock time: 02:30 on 31 March 2024 never happened in Berlin.
        const CliResult r = chart(QStringList{"20240331111111T:02:30:00"} + args);
        EXPECT_EQ(r.status, 2);
        EXPECT_FALSE(r.err.empty());
    }
}

}  // namespace
