// The throws, lines, coins and radio buttons of a manual cast.
#include "casting/manual_cast.h"

#include <gtest/gtest.h>

#include "test_support/qt_printers.h"

namespace {

using casting::ManualCast;

int flowers(const ManualCast& m) { return m.coins()[0] + m.coins()[1] + m.coins()[2]; }

TEST(ManualCast, ClicksOnAThrowCycleThroughTheFourValues) {
    ManualCast m;
    struct Step {
        const char16_t* symbol;
        int value;
        std::array<int, 3> coins;  // 花 = 1
    };
    const Step steps[] = {
        {u"一", 1, {1, 0, 0}}, {u"- -", 2, {1, 1, 0}}, {u"o", 3, {1, 1, 1}},
        {u"x", 4, {0, 0, 0}},  {u"一", 1, {1, 0, 0}},
    };
    for (const Step& s : steps) {
        m.clickThrow(0);
        EXPECT_EQ(m.throwCaption(0), QString::fromUtf16(s.symbol));
        EXPECT_EQ(m.value(0), s.value);
        EXPECT_EQ(m.radioValue(0), s.value);
        EXPECT_EQ(m.coins(), s.coins);
        EXPECT_EQ(flowers(m), s.value % 4);
    }
}

TEST(ManualCast, FirstThrowClickAfterAResetYieldsYoungYang) {
    ManualCast m;
    m.clickThrow(3);
    m.clickThrow(3);  // - -
    m.resetForShow();
    EXPECT_EQ(m.throwCaption(3), QStringLiteral("第四次摇得"));
    m.clickThrow(3);
    EXPECT_EQ(m.throwCaption(3), QStringLiteral("一"));
    EXPECT_EQ(m.checkedLine(), 3);
}

TEST(ManualCast, LineLabelsCycleFromWhatTheyShow) {
    ManualCast m;  // every line 一 after the reset
    m.cycleLine(5);
    EXPECT_EQ(m.symbol(5), QStringLiteral("- -"));
    EXPECT_EQ(m.checkedLine(), 5);
    m.cycleLine(5);
    m.cycleLine(5);
    EXPECT_EQ(m.symbol(5), QStringLiteral("x"));
    EXPECT_EQ(m.nameLabel(), QStringLiteral("主卦：泽天夬 变卦：乾为天"));
}

TEST(ManualCast, NamesFollowTheLinesEntered) {
    ManualCast m;
    m.cycleLine(0);  // 初爻 一 → - -: 天风姤
    EXPECT_EQ(m.nameLabel(), QStringLiteral("天风姤"));
    m.cycleLine(0);  // o
    m.cycleLine(0);  // x
    EXPECT_EQ(m.nameLabel(), QStringLiteral("主卦：天风姤 变卦：乾为天"));
}

TEST(ManualCast, CoinClickSetsTheCheckedLine) {
    ManualCast m;  // coins (花, 字, 字), 初爻 checked
    m.clickRadio(2);
    EXPECT_EQ(m.coins(), (std::array<int, 3>{1, 0, 0}));
    m.clickCoin(2);  // two 花: 少阴
    EXPECT_EQ(m.value(2), 2);
    EXPECT_EQ(m.radioValue(2), 2);
    EXPECT_EQ(m.value(0), 1);
    m.clickCoin(0);
    m.clickCoin(2);  // no 花 at all: 老阴
    EXPECT_EQ(m.value(2), 4);
    EXPECT_EQ(m.nameLabel(), QStringLiteral("主卦：天泽履 变卦：乾为天"));
}

TEST(ManualCast, RadioClickShowsTheCoinsOfItsValue) {
    ManualCast m;
    struct Case {
        int clicks;  // clicks on the line first: 一 → - - → o → x
        std::array<int, 3> coins;
    };
    const Case cases[] = {{0, {1, 0, 0}}, {1, {1, 1, 0}}, {2, {1, 1, 1}}, {3, {0, 0, 0}}};
    for (const Case& c : cases) {
        m.clear();
        for (int i = 0; i < c.clicks; ++i) m.cycleLine(4);
        m.clickRadio(0);
        m.clickRadio(4);
        EXPECT_EQ(m.coins(), c.coins);
    }
}

TEST(ManualCast, ClearKeepsTheThrowsButResetsLinesAndCoins) {
    ManualCast m;
    m.clickThrow(1);
    m.cycleLine(4);
    m.clear();
    for (int i = 0; i < 6; ++i) EXPECT_EQ(m.value(i), 1);
    EXPECT_EQ(m.checkedLine(), 0);
    EXPECT_EQ(m.coins(), (std::array<int, 3>{1, 0, 0}));
    EXPECT_EQ(m.throwCaption(1), QStringLiteral("一"));
}

TEST(ManualCast, UnclickedThrowMessageNamesTheFirstOne) {
    ManualCast m;
    EXPECT_EQ(m.unclickedThrowMessage(), QStringLiteral("“第一次摇得”位置请用鼠标点击来更改爻值。"));
    for (int k : {0, 1, 2, 4, 5}) m.clickThrow(k);
    EXPECT_EQ(m.unclickedThrowMessage(), QStringLiteral("“第四次摇得”位置请用鼠标点击来更改爻值。"));
    m.clickThrow(3);
    EXPECT_TRUE(m.unclickedThrowMessage().isEmpty());
}

TEST(ManualCast, CheckMovesUpToTheTopLineAndStays) {
    ManualCast m;
    for (int i = 0; i < 7; ++i) m.moveCheckUp();
    EXPECT_EQ(m.checkedLine(), 5);
    EXPECT_TRUE(m.topLineChecked());
    EXPECT_EQ(m.nameLabel(), QStringLiteral("乾为天"));
}

TEST(ManualCast, CoinPicturesBySetAndFace) {
    EXPECT_EQ(casting::coinPicture(casting::CoinSet::Pattern, 1), QStringLiteral(":/casting/y2.bmp"));
    EXPECT_EQ(casting::coinPicture(casting::CoinSet::Plain, 0), QStringLiteral(":/casting/q1.bmp"));
}

}  // namespace
