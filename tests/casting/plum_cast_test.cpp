// 梅花 casts by the time and by numbers, worked by hand from the rules of 《梅花易数》: the trigrams
// by 先天 number (乾1 兑2 离3 震4 巽5 坎6 艮7 坤8) from the sums mod 8, the moving line from the
// sum mod 6, a remainder 0 counting as 8 and 6. Lunar dates from the published almanac (万年历).
#include "casting/plum_cast.h"

#include <gtest/gtest.h>

#include "casting/line_values.h"
#include "test_support/qt_printers.h"

namespace {

using reading::Schools;

QString codesText(const std::array<int, 6>& codes) {
    QString out;
    for (int c : codes) out += QString::number(c);
    return out;
}

// The changed hexagram's key: moving lines turn.
QString changedKey(const std::array<int, 6>& codes) {
    QString out;
    for (int c : codes) out += QLatin1Char(c == 1 || c == 4 ? '1' : '2');
    return out;
}

QString mainKey(const std::array<int, 6>& codes) {
    QString out;
    for (int c : codes) out += QLatin1Char(c == 1 || c == 3 ? '1' : '2');
    return out;
}

TEST(PlumByTime, GuanMeiZhan) {
    // 观梅占: 辰年十二月十七日申时. 甲辰 year's 十二月初一 is 2024-12-31, so the 17th is 2025-01-16.
    // 5 + 12 + 17 = 34 → 2 兑 above; 34 + 9 (申) = 43 → 3 离 below; 43 mod 6 = 1.
    const auto cast = casting::castByTime(QDate(2025, 1, 16), QTime(15, 30), cal::CalendarSource::Formula, {});
    ASSERT_TRUE(cast);
    EXPECT_EQ(cast->yearBranch, 5);
    EXPECT_EQ(cast->month, 12);
    EXPECT_EQ(cast->day, 17);
    EXPECT_EQ(cast->hourBranch, 9);
    EXPECT_EQ(cast->hexagram, (casting::PlumHexagram{2, 3, 1}));
    const std::array<int, 6> codes = cast->hexagram.codesTopFirst();
    EXPECT_EQ(codesText(codes), QStringLiteral("211123"));
    EXPECT_EQ(casting::hexagramNameOfKey(mainKey(codes)), QStringLiteral("泽火革"));
    EXPECT_EQ(casting::hexagramNameOfKey(changedKey(codes)), QStringLiteral("泽山咸"));
}

TEST(PlumByTime, HandWorkedCasts) {
    struct Case {
        QDate date;
        QTime time;
        const char* schools;  // "" for the defaults
        int yearBranch, month, day, hour;
        const char* codes;  // top line first
        const char* why;
    };
    const Case cases[] = {
        {{2024, 2, 10}, {0, 30}, "", 5, 1, 1, 1, "122242", "甲辰正月初一子时: 7 艮, 8 坤, 8→2: 山地剥"},
        {{2024, 2, 9}, {12, 0}, "", 4, 12, 30, 7, "232112", "癸卯十二月三十午时: 46→6 坎, 53→5 巽, 53→5: 水风井"},
        {{2024, 2, 9}, {12, 0}, "plum-year=lichun", 5, 12, 30, 7, "322212",
         "after 立春 the year is 辰: 47→7 艮, 54→6 坎, 54→6: 山水蒙"},
        {{2024, 2, 9}, {23, 30}, "", 5, 1, 1, 1, "122242", "from 23:00 the next day: 甲辰正月初一 子"},
        {{2023, 3, 22}, {8, 0}, "", 4, 2, 1, 5, "322221", "闰二月初一辰时: 7 艮, 12→4 震, 12→6: 山雷颐"},
        {{2023, 4, 6}, {10, 0}, "", 4, 2, 16, 6, "214221", "闰二月十六巳时: 22→6 坎, 28→4 震, 28→4: 水雷屯"},
        {{2023, 4, 6}, {10, 0}, "plum-leap=split", 4, 3, 16, 6, "142112",
         "the 16th of a leap month as the next: 23→7 艮, 29→5 巽, 29→5: 山风蛊"},
        {{2023, 3, 30}, {10, 0}, "plum-leap=split", 4, 2, 9, 6, "122312",
         "闰二月初九 stays the second: 15→7 艮, 21→5 巽, 21→3: 山风蛊"},
        {{2024, 9, 17}, {20, 0}, "", 5, 8, 15, 11, "221322", "中秋戌时: 28→4 震, 39→7 艮, 39→3: 雷山小过"},
        {{2024, 12, 31}, {5, 0}, "", 5, 12, 1, 4, "213212", "甲辰十二月初一卯时: 18→2 兑, 22→6 坎, 22→4: 泽水困"},
        {{2025, 1, 30}, {12, 0}, "", 6, 1, 2, 7, "113222", "乙巳正月初二午时: 9→1 乾, 16→8 坤, 16→4: 天地否"},
        {{2025, 1, 30}, {12, 0}, "plum-year=lichun", 5, 1, 2, 7, "222322",
         "before 立春 2025 the year is still 辰: 8 坤, 15→7 艮, 15→3: 地山谦"},
        {{2024, 2, 4}, {16, 0}, "", 4, 12, 25, 9, "111231", "癸卯十二月廿五申时: 41→1 乾, 50→2 兑, 50→2: 天泽履"},
        {{2025, 1, 16}, {23, 0}, "", 5, 12, 18, 1, "321221", "23:00 takes the 18th, 子: 35→3 离, 36→4 震, 36→6: 火雷噬嗑"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const Schools schools = reading::schoolsFromText(QString::fromUtf8(c.schools));
        const auto cast = casting::castByTime(c.date, c.time, cal::CalendarSource::Formula, schools);
        ASSERT_TRUE(cast);
        EXPECT_EQ(cast->yearBranch, c.yearBranch);
        EXPECT_EQ(cast->month, c.month);
        EXPECT_EQ(cast->day, c.day);
        EXPECT_EQ(cast->hourBranch, c.hour);
        EXPECT_EQ(codesText(cast->hexagram.codesTopFirst()), QString::fromLatin1(c.codes));
    }
}

TEST(PlumByTime, RefusesDatesOutsideTheCalendar) {
    EXPECT_FALSE(casting::castByTime(QDate(1899, 12, 31), QTime(12, 0), cal::CalendarSource::Formula, {}));
    EXPECT_FALSE(casting::castByTime(QDate(2100, 12, 31), QTime(23, 30), cal::CalendarSource::Formula, {}));
    EXPECT_TRUE(casting::castByTime(QDate(1900, 1, 1), QTime(12, 0), cal::CalendarSource::Formula, {}));
}

TEST(PlumByNumbers, HandWorkedCasts) {
    struct Case {
        QStringList numbers;
        int hour;
        const char* schools;
        const char* codes;
        const char* why;
    };
    const Case cases[] = {
        {{"3", "5"}, 0, "", "121132", "3 离, 5 巽, 8→2: 火风鼎"},
        {{"8", "16"}, 0, "", "422222", "8 坤, 16→8 坤, 24→6: 坤为地"},
        {{"1", "1"}, 0, "", "111131", "乾为天, 2"},
        {{"100", "7"}, 0, "", "241122", "100→4 震, 7 艮, 107→5: 雷山小过"},
        {{"3", "5"}, 9, "", "141112", "with 申 hour: 17→5"},
        {{"6", "2"}, 1, "", "212411", "with 子 hour: 9→3: 水泽节"},
        {{"3", "5", "7"}, 0, "", "121114", "third number 7→1"},
        {{"3", "5", "7"}, 0, "plum-third=sum", "121312", "sum 15→3"},
        {{"2", "3", "12"}, 0, "", "411121", "12→6: 泽火革 top"},
        {{"2", "3", "12"}, 0, "plum-third=sum", "231121", "17→5"},
        {{"0", "9"}, 0, "", "222311", "0→8 坤, 9→1 乾, 9→3: 地天泰"},
        {{"123456789012345678901234567890", "98765432109876543210"}, 0, "", "411211",
         "…890 mod 8 = 2, …210 mod 8 = 2; both divisible by 6: 兑为泽, 6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const auto result =
            casting::castByNumbers(c.numbers, c.hour, reading::schoolsFromText(QString::fromUtf8(c.schools)));
        ASSERT_TRUE(std::holds_alternative<casting::PlumHexagram>(result));
        EXPECT_EQ(codesText(std::get<casting::PlumHexagram>(result).codesTopFirst()), QString::fromLatin1(c.codes));
    }
}

TEST(PlumByNumbers, RefusesWhatIsNotTwoOrThreeNumbers) {
    const QList<QStringList> bad{{"7"}, {"1", "2", "3", "4"}, {"12a", "3"}, {"3", "-5"}, {"", "3"}, {"３", "5"}};
    for (const QStringList& numbers : bad) {
        SCOPED_TRACE(numbers.join(u' ').toStdString());
        const auto result = casting::castByNumbers(numbers, 0, {});
        ASSERT_TRUE(std::holds_alternative<QString>(result));
        EXPECT_FALSE(std::get<QString>(result).isEmpty());
    }
}

TEST(PlumByNumbers, ResidueOfLongNumbers) {
    // 10^30 = 2^30 · 5^30: divisible by 8; mod 6 it is 4 (10 ≡ 4 and 4·4 ≡ 4 mod 6).
    const QString big = QStringLiteral("1") + QString(30, u'0');
    EXPECT_EQ(casting::decimalResidue(big, 8), 0);
    EXPECT_EQ(casting::decimalResidue(big, 6), 4);
    EXPECT_EQ(casting::decimalResidue(u"12a", 8), std::nullopt);
}

}  // namespace
