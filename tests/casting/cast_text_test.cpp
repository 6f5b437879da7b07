// Reading typed text: case numbers, pillars, full and short names, over the shipped rows.
#include "casting/cast_text.h"

#include <gtest/gtest.h>

#include "store/database.h"
#include "store/sqlite_divination_data.h"
#include "test_support/qt_printers.h"

namespace {

using casting::LineValues;

// Today for every search: 2026-12-08. The latest 丙寅 month before it is 2024-02-04 .. 03-04
// (甲辰 year), whose 戊戌 day is 2024-02-04; 乙丑 month is 2024-01-06 .. 02-03, 丁丑 month
// 2025-01-05 .. 02-02.
const QDate kToday(2026, 12, 8);

class CastText : public ::testing::Test {
protected:
    CastText() : db(store::Database::openInMemory()), data(*db) {}

    casting::CastTextResult read(const QString& text) { return casting::readCastText({text}, data, kToday); }

    std::unique_ptr<store::Database> db;
    store::SqliteDivinationData data;
};

TEST(CastTextInput, CaseNumbersAreFourteenCharactersStartingWithADigit) {
    EXPECT_TRUE(casting::isCaseNumberInput(QStringLiteral("20240204123412")));
    EXPECT_TRUE(casting::isCaseNumberInput(QStringLiteral("2天风姤之乾为天xxxxxxx").left(14)));
    EXPECT_FALSE(casting::isCaseNumberInput(QStringLiteral("2024020412341")));    // 13 digits: text
    EXPECT_FALSE(casting::isCaseNumberInput(QStringLiteral("202402041234123")));  // 15
    EXPECT_FALSE(casting::isCaseNumberInput(QStringLiteral("x2024020412341")));
}

TEST(CastTextInput, TheSixtyFourNameText) {
    EXPECT_EQ(
        casting::allHexagramNames(),
        QStringLiteral("乾为天泽天夬火天大有雷天大壮风天小畜水天需山天大畜地天泰天泽履兑为泽火泽睽雷泽归妹风泽中孚"
                       "水泽节山泽损地泽临天火同人泽火革离为火雷火丰风火家人水火既济山火贲地火明夷天雷无妄泽雷随"
                       "火雷噬嗑震为雷风雷益水雷屯山雷颐地雷复天风姤泽风大过火风鼎雷风恒巽为风水风井山风蛊地风升"
                       "天水讼泽水困火水未济雷水解风水涣坎为水山水蒙地水师天山遁泽山咸火山旅雷山小过风山渐水山蹇"
                       "艮为山地山谦天地否泽地萃火地晋雷地豫风地观水地比山地剥坤为地"));
}

TEST(CastTextInput, ShortNamesExpand) {
    struct Case {
        const char16_t* text;
        const char16_t* expanded;
        bool any;
    };
    const Case cases[] = {
        {u"夬之乾", u"泽天夬之乾为天", true},
        {u"大有", u"火天大有", true},
        {u"小过之坤", u"雷山小过之坤为地", true},
        {u"姤", u"天风姤", true},
        {u"丙寅月", u"丙寅月", false},
    };
    for (const Case& c : cases) {
        QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(casting::expandShortNames(text), c.any);
        EXPECT_EQ(text, QString::fromUtf16(c.expanded));
    }
}

TEST(CastTextInput, NamesInALine) {
    struct Case {
        const char16_t* line;
        const char16_t* main;
        const char16_t* changed;
    };
    const Case cases[] = {
        {u"  天风姤之乾为天U", u"天风姤", u"乾为天"},
        {u"  火天大有之乾为天U", u"火天大有", u"乾为天"},
        {u"  天风姤乾为天坤为地U", u"天风姤", u"乾为天"},  // a third name is ignored
        {u"  得天风姤U", u"天风姤", u""},
        {u"  丙寅月戊戌日U", u"", u""},
    };
    for (const Case& c : cases) {
        const casting::NamePair names = casting::findNames(QString::fromUtf16(c.line));
        EXPECT_EQ(names.main, QString::fromUtf16(c.main));
        EXPECT_EQ(names.changed, QString::fromUtf16(c.changed));
    }
}

TEST(CastTextInput, PillarsOfALineAndOfTheMatchInput) {
    const casting::PillarTexts line = casting::readPillars(QStringLiteral("丙寅戊戌甲子"));
    EXPECT_EQ(line.month, QStringLiteral("丙寅"));
    EXPECT_EQ(line.day, QStringLiteral("戊戌"));
    const casting::PillarTexts match = casting::readMatchPillars(QStringLiteral("丙寅戊戌甲子"));
    EXPECT_EQ(match.month, QStringLiteral("丙寅"));
    EXPECT_EQ(match.day, QStringLiteral("甲子"));
    const casting::PillarTexts bare = casting::readPillars(QStringLiteral("丑月丙申日"));
    EXPECT_EQ(bare.month, QStringLiteral(" 丑"));
    EXPECT_EQ(bare.day, QStringLiteral("丙申"));
    EXPECT_FALSE(casting::readPillars(QStringLiteral("火水未济")).complete());
}

TEST_F(CastText, PillarsAndNamesGiveDateLabelAndLines) {
    const casting::CastTextResult r = read(QStringLiteral("丙寅月戊戌日 天风姤之乾为天"));
    ASSERT_TRUE(r.date.has_value());
    EXPECT_EQ(*r.date, QDate(2024, 2, 4));
    EXPECT_EQ(r.nameLabel, QStringLiteral("2024-02-04 本卦：天风姤 变卦：乾为天"));
    ASSERT_TRUE(r.values.has_value());
    EXPECT_EQ(*r.values, (LineValues{4, 1, 1, 1, 1, 1}));  // 初爻 first: top first 1,1,1,1,1,4
}

TEST_F(CastText, ShortNamesAreExpandedWhenNoFullNameIsFound) {
    const casting::CastTextResult r = read(QStringLiteral("夬之乾"));
    EXPECT_FALSE(r.date.has_value());
    EXPECT_EQ(r.nameLabel, QStringLiteral(" 本卦：泽天夬 变卦：乾为天"));
    ASSERT_TRUE(r.values.has_value());
    EXPECT_EQ(*r.values, (LineValues{1, 1, 1, 1, 1, 4}));  // the top line becomes 老阴
}

TEST_F(CastText, YearPillarIsDropped) {
    // Without dropping "甲辰年", 甲辰 would be read as the month.
    const casting::CastTextResult r = read(QStringLiteral("甲辰年丙寅月戊戌日 姤"));
    ASSERT_TRUE(r.date.has_value());
    EXPECT_EQ(*r.date, QDate(2024, 2, 4));
    ASSERT_TRUE(r.values.has_value());
    EXPECT_EQ(*r.values, (LineValues{2, 1, 1, 1, 1, 1}));
}

TEST_F(CastText, BareBranchMonthTakesTheFirstStemThatGivesADate) {
    // 乙丑 gives 2024-02-02 (丙申); 丁丑 would give the later 2025-01-27, also 丙申.
    const casting::CastTextResult r = read(QStringLiteral("丑月丙申日"));
    ASSERT_TRUE(r.date.has_value());
    EXPECT_EQ(*r.date, QDate(2024, 2, 2));
    EXPECT_EQ(r.nameLabel, QStringLiteral("2024-02-02"));
    EXPECT_FALSE(r.values.has_value());
}

TEST_F(CastText, PillarsWithoutAMatchingDateGiveToday) {
    // 甲丑 is no pillar at all (stem and branch of different parity): no date matches.
    const casting::CastTextResult r = read(QStringLiteral("甲丑月戊戌日"));
    ASSERT_TRUE(r.date.has_value());
    EXPECT_EQ(*r.date, kToday);
}

TEST_F(CastText, LinesOfPillarsAndNamesMayBeSeparate) {
    const casting::CastTextResult r = casting::readCastText(
        {QStringLiteral("丙寅月戊戌日"), QStringLiteral("夬之乾"), QStringLiteral("坤")}, data, kToday);
    EXPECT_EQ(r.nameLabel, QStringLiteral("2024-02-04 本卦：泽天夬 变卦：乾为天"));
    EXPECT_EQ(*r.values, (LineValues{1, 1, 1, 1, 1, 4}));
}

TEST_F(CastText, TextWithoutANameChangesNoLines) {
    const casting::CastTextResult r = read(QStringLiteral("问财运"));
    EXPECT_FALSE(r.values.has_value());
    EXPECT_TRUE(r.nameLabel.isEmpty());
}

TEST_F(CastText, LinesFromTheRows) {
    struct Case {
        const char16_t* main;
        const char16_t* changed;
        LineValues values;  // 初爻 first
    };
    const Case cases[] = {
        {u"乾为天", u"", {1, 1, 1, 1, 1, 1}},
        {u"天风姤", u"乾为天", {4, 1, 1, 1, 1, 1}},
        {u"坤为地", u"乾为天", {4, 4, 4, 4, 4, 4}},
        {u"地天泰", u"天地否", {3, 3, 3, 4, 4, 4}},
        {u"水火既济", u"", {1, 2, 1, 2, 1, 2}},
        {u"没有此卦", u"乾为天", {0, 0, 0, 0, 0, 0}},
        // A changed name without a row moves nothing.
        {u"天风姤", u"天夬火", {2, 1, 1, 1, 1, 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(casting::loadHexagramLines(data, QString::fromUtf16(c.main), QString::fromUtf16(c.changed)), c.values)
            << QString::fromUtf16(c.main).toStdString();
}

}  // namespace
