// Line values, their symbols and the names shown while lines are entered.
#include "casting/line_values.h"

#include <gtest/gtest.h>

#include "test_support/qt_printers.h"

namespace {

using casting::LineValues;

TEST(LineValues, CoinsGiveTheValueAndItsSymbol) {
    struct Case {
        std::array<int, 3> coins;
        int value;
        const char16_t* symbol;
    };
    const Case cases[] = {
        {{1, 0, 0}, 1, u"一"},  {{0, 0, 1}, 1, u"一"}, {{1, 1, 0}, 2, u"- -"},
        {{0, 1, 1}, 2, u"- -"}, {{1, 1, 1}, 3, u"o"},  {{0, 0, 0}, 4, u"x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(casting::lineValueOfCoins(c.coins), c.value);
        EXPECT_EQ(casting::lineSymbol(c.value), QString::fromUtf16(c.symbol));
    }
    EXPECT_TRUE(casting::lineSymbol(0).isEmpty());
}

TEST(LineValues, NamesOfKeys) {
    EXPECT_EQ(casting::hexagramNameOfKey(QStringLiteral("111111")), QStringLiteral("乾为天"));
    EXPECT_EQ(casting::hexagramNameOfKey(QStringLiteral("222222")), QStringLiteral("坤为地"));
    EXPECT_EQ(casting::hexagramNameOfKey(QStringLiteral("111112")), QStringLiteral("天风姤"));
    EXPECT_TRUE(casting::hexagramNameOfKey(QStringLiteral("123456")).isEmpty());
    EXPECT_TRUE(casting::hexagramNameOfKey(QStringLiteral("11111")).isEmpty());
}

TEST(LineValues, NameLabelWhileEntering) {
    struct Case {
        LineValues values;  // 初爻 first
        const char16_t* label;
    };
    const Case cases[] = {
        {{2, 1, 1, 1, 1, 1}, u"天风姤"},
        {{4, 1, 1, 1, 1, 1}, u"主卦：天风姤 变卦：乾为天"},
        {{1, 1, 1, 1, 1, 3}, u"主卦：乾为天 变卦：泽天夬"},
        {{2, 2, 2, 2, 2, 2}, u"坤为地"},
        {{4, 4, 4, 3, 3, 3}, u"主卦：天地否 变卦：地天泰"},
        // A line not yet chosen leaves no name, even when another line moves.
        {{0, 1, 1, 1, 1, 1}, u""},
        {{0, 3, 1, 1, 1, 1}, u"主卦： 变卦："},
    };
    for (const Case& c : cases) EXPECT_EQ(casting::hexagramNamesLabel(c.values), QString::fromUtf16(c.label));
}

TEST(LineValues, RulesTextHasItsThreeLines) {
    const QStringList rules = casting::rulesText();
    ASSERT_EQ(rules.size(), 3);
    EXPECT_TRUE(rules[0].startsWith(QStringLiteral("有字的一面为阴")));
    EXPECT_EQ(rules[1], QStringLiteral("三个字为老阴（X）"));
}

}  // namespace
