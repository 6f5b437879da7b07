#include "calendar/ganzhi.h"

#include <gtest/gtest.h>

namespace {

TEST(GanZhi, NamesOfTheCycle) {
    struct Case {
        int index;
        const char* name;
    };
    for (const Case& c : {Case{0, "甲子"}, Case{1, "乙丑"}, Case{10, "甲戌"}, Case{40, "甲辰"}, Case{54, "戊午"},
                          Case{59, "癸亥"}, Case{60, ""}, Case{-1, ""}}) {
        EXPECT_EQ(cal::ganzhiName(c.index), c.name) << c.index;
    }
}

TEST(GanZhi, ComposeAndSplitAreInverse) {
    for (int k = 0; k < 60; ++k) {
        const cal::GanZhiSplit s = cal::ganzhiSplit(k);
        ASSERT_TRUE(s.ok);
        EXPECT_EQ(cal::ganzhiCompose(s.stem, s.branch), k);
        EXPECT_EQ(cal::ganzhiIndex(cal::ganzhiName(k)), k);
    }
}

TEST(GanZhi, RefusesWhatFormsNoPair) {
    EXPECT_EQ(cal::ganzhiCompose(0, 1), -1);  // 甲丑: different parity
    EXPECT_EQ(cal::ganzhiCompose(10, 0), -1);
    EXPECT_EQ(cal::ganzhiCompose(0, 12), -1);
    EXPECT_EQ(cal::ganzhiCompose(-1, 0), -1);
    EXPECT_FALSE(cal::ganzhiSplit(60).ok);
    EXPECT_EQ(cal::ganzhiSplit(-1).stem, -1);
    EXPECT_EQ(cal::ganzhiIndex("甲丑"), -1);
    EXPECT_EQ(cal::ganzhiIndex("甲子年"), -1);
    EXPECT_EQ(cal::ganzhiIndex(""), -1);
}

TEST(GanZhi, ValueTypesParseOneCharacter) {
    ASSERT_TRUE(cal::Stem::parse("庚"));
    EXPECT_EQ(cal::Stem::parse("庚")->index, 6);
    EXPECT_EQ(cal::Branch::parse("亥")->index, 11);
    EXPECT_FALSE(cal::Branch::parse("甲"));
    const auto gz = cal::GanZhi::parse("丙寅");
    ASSERT_TRUE(gz);
    EXPECT_EQ(gz->stem().name(), "丙");
    EXPECT_EQ(gz->branch().name(), "寅");
    EXPECT_EQ(cal::firstChar("乾为天"), "乾");
}

}  // namespace
