// The 用神 by question type, the choice among several lines, the month and day standing in, the
// hidden spirit and the 原神/忌神/仇神, against the tables of 《增删卜易》 and 《卜筮正宗》.
#include <gtest/gtest.h>

#include "analysis/chart_fixture.h"
#include "reading/use_god_chart.h"
#include "reading/reading.h"

namespace {

using Multi = reading::Schools::MultipleUseGods;

// 妻财 on 二爻 and 五爻, the world on 初爻 (子孙), the response on 四爻, 兄弟 hidden under 三爻.
std::array<HandLine, 6> twoWealthLines() {
    return {{{u"子孙子水", u'世'},
             {u"妻财寅木"},
             {u"父母辰土", u' ', 1, u"兄弟申金"},
             {u"官鬼午火", u'应'},
             {u"妻财卯木"},
             {u"父母戌土"}}};
}

reading::UseGodReading read(const chart::ChartState& s, const char16_t* question, const char16_t* gender = u"",
                            Multi multi = Multi::Standard) {
    reading::ReadingRequest request;
    request.question = QString::fromUtf16(question);
    request.gender = QString::fromUtf16(gender);
    request.schools.multipleUseGods = multi;
    return reading::readUseGod(s, request);
}

TEST(UseGodTable, EveryQuestionTypeForBothGenders) {
    struct Row {
        const char16_t* question;
        const char16_t* male;
        const char16_t* female;
    };
    const Row rows[] = {
        {u"自身", u"世", u"世"},     {u"他人", u"应", u"应"},     {u"父母", u"父母", u"父母"},
        {u"长辈", u"父母", u"父母"}, {u"文书", u"父母", u"父母"}, {u"房屋", u"父母", u"父母"},
        {u"车辆", u"父母", u"父母"}, {u"消息", u"父母", u"父母"}, {u"考试", u"父母", u"父母"},
        {u"兄弟", u"兄弟", u"兄弟"}, {u"朋友", u"兄弟", u"兄弟"}, {u"同事", u"兄弟", u"兄弟"},
        {u"子女", u"子孙", u"子孙"}, {u"晚辈", u"子孙", u"子孙"}, {u"医药", u"子孙", u"子孙"},
        {u"宠物", u"子孙", u"子孙"}, {u"求财", u"妻财", u"妻财"}, {u"失物", u"妻财", u"妻财"},
        {u"工作", u"官鬼", u"官鬼"}, {u"功名", u"官鬼", u"官鬼"}, {u"官司", u"官鬼", u"官鬼"},
        {u"疾病", u"世", u"世"},     {u"出行", u"世", u"世"},     {u"婚姻", u"妻财", u"官鬼"},
    };
    QStringList order;
    for (const Row& row : rows) order << QString::fromUtf16(row.question);
    EXPECT_EQ(reading::questionTypes(), order);

    const chart::ChartState s = handChart(twoWealthLines(), u"甲子", u"乙丑");
    for (const Row& row : rows) {
        for (const auto& [gender, expected] : {std::pair{u"男", row.male}, std::pair{u"女", row.female}}) {
            const auto r = read(s, row.question, gender);
            ASSERT_TRUE(r.useGod) << QString::fromUtf16(row.question).toStdString();
            EXPECT_EQ(r.useGod->relative, QString::fromUtf16(expected))
                << QString::fromUtf16(row.question).toStdString();
        }
    }
    const auto self = read(s, u"自身");
    EXPECT_EQ(self.useGod->positions, QList<int>{1});
    EXPECT_EQ(self.sourceGod->relative, u"兄弟");  // the world line is 子孙
    EXPECT_EQ(read(s, u"他人").useGod->chosen, 4);

    const auto noGender = read(s, u"婚姻");
    EXPECT_FALSE(noGender.useGod);
    EXPECT_TRUE(noGender.missing.contains(u"性别"));
    EXPECT_FALSE(read(s, u"").useGod);

    const auto exam = read(s, u"考试");
    ASSERT_TRUE(exam.secondGod);
    EXPECT_EQ(exam.secondGod->relative, u"官鬼");
    EXPECT_EQ(exam.secondGod->positions, QList<int>{4});
    EXPECT_EQ(exam.secondGod->role, u"官职");
    const auto illness = read(s, u"疾病");
    ASSERT_TRUE(illness.secondGod);
    EXPECT_EQ(illness.secondGod->role, u"病象");
    EXPECT_EQ(illness.useGod->relative, u"世");
    EXPECT_FALSE(read(s, u"求财").secondGod);
}

TEST(UseGodChoice, EachRuleDecidesUnderBothOrders) {
    struct Row {
        const char* what;
        Multi multi;
        const char16_t* month;
        const char16_t* voidPair;
        int worldAt;   // 0: the world stays on 初爻
        int movingAt;  // 0: none moves
        int chosen;
        const char16_t* reason;
    };
    const Row rows[] = {
        {"world on the upper", Multi::Standard, u"甲子", u"戌亥", 5, 0, 5, u"持世"},
        {"upper on the month", Multi::Standard, u"丁卯", u"戌亥", 0, 0, 5, u"临月日"},
        {"lower broken", Multi::Standard, u"丙申", u"戌亥", 0, 0, 2, u"月破"},
        {"upper void", Multi::Standard, u"甲子", u"卯辰", 0, 0, 5, u"旬空"},
        {"upper moves", Multi::Standard, u"甲子", u"戌亥", 0, 5, 5, u"发动"},
        {"nothing decides", Multi::Standard, u"甲子", u"戌亥", 0, 0, 2, u"近世"},
        {"world on 三爻", Multi::Standard, u"甲子", u"戌亥", 3, 0, 2, u"近世"},
        {"world on 四爻", Multi::Standard, u"甲子", u"戌亥", 4, 0, 5, u"近世"},
        {"moving first in the old order", Multi::Ancient, u"丙申", u"戌亥", 0, 5, 5, u"发动"},
        {"the broken one falls", Multi::Ancient, u"丙申", u"戌亥", 0, 0, 5, u"月破"},
        {"the void one falls", Multi::Ancient, u"甲子", u"卯辰", 0, 0, 2, u"旬空"},
        {"the month branch is no rule there", Multi::Ancient, u"丁卯", u"戌亥", 0, 0, 2, u"近世"},
        {"the world line is only the nearest", Multi::Ancient, u"甲子", u"戌亥", 5, 0, 5, u"近世"},
    };
    for (const Row& row : rows) {
        auto lines = twoWealthLines();
        if (row.worldAt) {
            lines[0].mark = u' ';
            lines[row.worldAt - 1].mark = u'世';
        }
        if (row.movingAt) lines[row.movingAt - 1].code = 3;
        const auto s = handChart(lines, row.month, u"乙丑", row.voidPair);
        const auto r = read(s, u"求财", u"", row.multi);
        ASSERT_TRUE(r.useGod) << row.what;
        EXPECT_EQ(r.useGod->source, u"line") << row.what;
        EXPECT_EQ(r.useGod->positions, (QList<int>{2, 5})) << row.what;
        EXPECT_EQ(r.useGod->chosen, row.chosen) << row.what;
        EXPECT_EQ(r.useGod->reason, QString::fromUtf16(row.reason)) << row.what;
    }
    // Equally near the world on 三爻: the lower.
    const auto tie = read(
        handChart(
            {{{u"子孙子水"}, {u"妻财寅木"}, {u"父母辰土", u'世'}, {u"妻财卯木", u'应'}, {u"子孙亥水"}, {u"父母戌土"}}},
            u"甲子", u"乙丑"),
        u"求财");
    EXPECT_EQ(tie.useGod->chosen, 2);
    EXPECT_EQ(tie.useGod->reason, u"近世");
    // Seen once: 独现.
    const auto once = read(handChart(twoWealthLines(), u"甲子", u"乙丑"), u"子女");
    EXPECT_EQ(once.useGod->chosen, 1);
    EXPECT_EQ(once.useGod->reason, u"独现");
}

TEST(UseGodChoice, MonthThenDayStandInForAMissingRelative) {
    // No 妻财 among the lines; 寅 (木) is 妻财 of the 金 palace.
    const std::array<HandLine, 6> lines{
        {{u"子孙子水", u'世'}, {u"兄弟申金"}, {u"父母辰土"}, {u"官鬼午火", u'应'}, {u"兄弟酉金"}, {u"父母戌土"}}};
    const auto byMonth = read(handChart(lines, u"丙寅", u"乙卯"), u"求财");
    ASSERT_TRUE(byMonth.useGod);
    EXPECT_EQ(byMonth.useGod->source, u"月建");
    EXPECT_EQ(byMonth.useGod->branch, u"寅");
    EXPECT_FALSE(byMonth.useGod->chosen);
    EXPECT_TRUE(byMonth.useGod->positions.isEmpty());
    const auto byDay = read(handChart(lines, u"甲子", u"乙卯"), u"求财");
    EXPECT_EQ(byDay.useGod->source, u"日辰");
    EXPECT_EQ(byDay.useGod->branch, u"卯");
    EXPECT_EQ(byDay.sourceGod->relative, u"子孙");
}

class HiddenUseGod : public AnalysedChart {};

TEST_F(HiddenUseGod, WealthHidesUnderTheSecondLine) {
    // 天风姤 on 丁酉 month, 丙戌 day: no 妻财 line, neither 酉 nor 戌 is 木; 妻财寅木 hides under
    // 子孙亥水 on 二爻, and 亥水 generates 寅木.
    build(u"20260909113312T:17:28:00");
    const auto r = read(state, u"求财");
    ASSERT_TRUE(r.useGod);
    EXPECT_EQ(r.useGod->source, u"伏神");
    EXPECT_TRUE(r.useGod->hidden);
    EXPECT_EQ(r.useGod->chosen, 2);
    EXPECT_EQ(r.useGod->branch, u"寅");
    EXPECT_EQ(r.useGod->flyingGod, u"子孙亥水");
    EXPECT_EQ(r.useGod->flyingRelation, u"飞生伏");
}

TEST(UseGodFamily, SourceTabooAndEnemyOfEveryRelative) {
    // 父母 on 3 and 6, 兄弟 none (hidden), 子孙 1, 妻财 2 and 5, 官鬼 4.
    const auto s = handChart(twoWealthLines(), u"甲子", u"乙丑");
    struct Row {
        const char16_t* question;
        const char16_t *source, *taboo, *enemy;
    };
    const Row rows[] = {
        {u"父母", u"官鬼", u"妻财", u"子孙"}, {u"兄弟", u"父母", u"官鬼", u"妻财"},
        {u"子女", u"兄弟", u"父母", u"官鬼"}, {u"求财", u"子孙", u"兄弟", u"父母"},
        {u"工作", u"妻财", u"子孙", u"兄弟"},
    };
    const QMap<QString, QList<int>> carried{{QStringLiteral("父母"), {3, 6}},
                                            {QStringLiteral("兄弟"), {}},
                                            {QStringLiteral("子孙"), {1}},
                                            {QStringLiteral("妻财"), {2, 5}},
                                            {QStringLiteral("官鬼"), {4}}};
    for (const Row& row : rows) {
        const auto r = read(s, row.question);
        ASSERT_TRUE(r.sourceGod && r.tabooGod && r.enemyGod);
        EXPECT_EQ(r.sourceGod->relative, QString::fromUtf16(row.source));
        EXPECT_EQ(r.tabooGod->relative, QString::fromUtf16(row.taboo));
        EXPECT_EQ(r.enemyGod->relative, QString::fromUtf16(row.enemy));
        EXPECT_EQ(r.sourceGod->positions, carried.value(r.sourceGod->relative));
        EXPECT_EQ(r.enemyGod->positions, carried.value(r.enemyGod->relative));
    }
}

}  // namespace
