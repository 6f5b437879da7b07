#include <gtest/gtest.h>

#include "chart/elements.h"
#include "chart/stems.h"
#include "test_support/qt_printers.h"

namespace {

TEST(Elements, Cycles) {
    struct Case {
        char16_t e, generated, generating, controlled, controlling;
    };
    for (const Case& c : {Case{u'木', u'火', u'水', u'土', u'金'}, Case{u'火', u'土', u'木', u'金', u'水'},
                          Case{u'土', u'金', u'火', u'水', u'木'}, Case{u'金', u'水', u'土', u'木', u'火'},
                          Case{u'水', u'木', u'金', u'火', u'土'}, Case{u'子', u' ', u' ', u' ', u' '}}) {
        EXPECT_EQ(chart::generatedElement(c.e), QChar(c.generated));
        EXPECT_EQ(chart::generatingElement(c.e), QChar(c.generating));
        EXPECT_EQ(chart::controlledElement(c.e), QChar(c.controlled));
        EXPECT_EQ(chart::controllingElement(c.e), QChar(c.controlling));
    }
}

TEST(Elements, BranchTextsAndClashes) {
    struct Case {
        char16_t branch;
        const char16_t* polarity;
        char16_t clash;
    };
    for (const Case& c : {Case{u'子', u"阳水", u'午'}, Case{u'丑', u"阴土", u'未'}, Case{u'寅', u"阳木", u'申'},
                          Case{u'卯', u"阴木", u'酉'}, Case{u'辰', u"阳土", u'戌'}, Case{u'巳', u"阴火", u'亥'},
                          Case{u'午', u"阳火", u'子'}, Case{u'未', u"阴土", u'丑'}, Case{u'申', u"阳金", u'寅'},
                          Case{u'酉', u"阴金", u'卯'}, Case{u'戌', u"阳土", u'辰'}, Case{u'亥', u"阴水", u'巳'}}) {
        EXPECT_EQ(chart::branchPolarityText(c.branch), QString::fromUtf16(c.polarity));
        EXPECT_EQ(chart::clashPartner(c.branch), QChar(c.clash));
    }
    EXPECT_EQ(chart::branchPolarityText(u'甲'), u"");
    EXPECT_TRUE(chart::clashPartner(u'甲').isNull());
}

TEST(Relatives, AgainstAMetalPalace) {
    struct Case {
        char16_t element;
        const char16_t* relative;
    };
    // 子水 子孙, 寅木 妻财, 午火 官鬼, 辰土 父母, 申金 兄弟.
    for (const Case& c : {Case{u'水', u"子孙"}, Case{u'木', u"妻财"}, Case{u'火', u"官鬼"}, Case{u'土', u"父母"},
                          Case{u'金', u"兄弟"}, Case{u'子', u"错误"}}) {
        EXPECT_EQ(chart::relativeOf(c.element, u'金'), QString::fromUtf16(c.relative));
    }
    EXPECT_EQ(chart::relativeOf(u'木', u' '), u"错误");
    EXPECT_EQ(chart::relativeOf(u'木', u'火'), u"父母");
    EXPECT_EQ(chart::relativeOf(u'木', u'土'), u"官鬼");
}

TEST(Stems, JingfangPairs) {
    struct Case {
        const char16_t* name;
        const char16_t* pair;
    };
    for (const Case& c : {Case{u"乾为天", u"壬甲"}, Case{u"天风姤", u"壬辛"}, Case{u"地天泰", u"癸甲"},
                          Case{u"坤为地", u"癸乙"}, Case{u"水火既济", u"戊己"}, Case{u"山泽损", u"丙丁"},
                          Case{u"雷风恒", u"庚辛"}, Case{u"无此卦", u"  "}, Case{u"", u"  "}}) {
        EXPECT_EQ(chart::jingfangStems(QString::fromUtf16(c.name)), QString::fromUtf16(c.pair));
    }
}

TEST(Stems, ZangshanSixStems) {
    struct Case {
        const char16_t* name;
        const char16_t* stems;
    };
    for (const Case& c :
         {Case{u"天风姤", u"庚丙戊己辛癸"}, Case{u"乾为天", u"庚丙戊甲壬庚"}, Case{u"坤为地", u"己辛癸乙丁己"},
          Case{u"水火既济", u"丙戊甲丁己辛"}, Case{u"泽雷随", u"丁己辛己丁乙"}, Case{u"乾", u"此卦名称不对"},
          Case{u"天风", u"此卦名称不对"}}) {
        EXPECT_EQ(chart::zangshanStems(QString::fromUtf16(c.name)), QString::fromUtf16(c.stems));
    }
}

TEST(Stems, ZangshanPalaceElement) {
    chart::Hexagram lines;
    lines[0].relative = QStringLiteral("父母");
    lines[0].branchElement = QStringLiteral("戌土");
    EXPECT_EQ(chart::zangshanPalaceElement(lines), u'金');  // no 兄弟: earth generates metal
    lines[0].relative = QStringLiteral("官鬼");
    EXPECT_EQ(chart::zangshanPalaceElement(lines), u'水');  // earth controls water
    lines[0].relative = QStringLiteral("妻财");
    EXPECT_EQ(chart::zangshanPalaceElement(lines), u'木');  // wood controls earth
    lines[0].relative = QStringLiteral("子孙");
    EXPECT_EQ(chart::zangshanPalaceElement(lines), u'火');  // fire generates earth
    lines[2].relative = QStringLiteral("兄弟");
    lines[2].branchElement = QStringLiteral("申金");
    lines[4].relative = QStringLiteral("兄弟");
    lines[4].branchElement = QStringLiteral("酉金");
    EXPECT_EQ(chart::zangshanPalaceElement(lines), u'金');  // the last 兄弟 line
    chart::ChartState state;
    state.method = chart::ArrangementMethod::Jingfang;
    EXPECT_EQ(chart::palaceElement(state, QStringLiteral("乾宫属金 本宫卦")), u'金');
    EXPECT_EQ(chart::palaceElement(state, QStringLiteral("乾宫")), u' ');
}

}  // namespace
