// The candidate dates (应期) by 《卜筮正宗》's rules: 动待合，静待冲；空待冲实；破待填合；墓待冲；绝待生.
// Day pillars worked out from the Julian day number (甲子 = JDN + 49 mod 60).
#include <gtest/gtest.h>

#include "reading/use_god_chart.h"
#include "reading/reading.h"

namespace {

struct Expected {
    const char* date;
    const char16_t* pillar;
    const char16_t* kind;
};

// The 用神 is the line on 二爻 (妻财, or the branch given), counted from the cast day.
void expectTiming(const char16_t* item, int code, const char16_t* month, const char16_t* day, const char16_t* voidPair,
                  QDate cast, std::initializer_list<Expected> expected,
                  reading::Schools::EarthTomb tomb = reading::Schools::EarthTomb::Chen, int within = 60) {
    const auto s = handChart(
        {{{u"子孙子水", u'世'}, {item, u' ', code}, {u"兄弟申金"}, {u"官鬼午火", u'应'}, {u"兄弟酉金"}, {u"子孙亥水"}}},
        month, day, voidPair, cast);
    reading::ReadingRequest request;
    request.withinDays = within;
    request.schools.earthTomb = tomb;
    reading::UseGod god;
    god.relative = s.main[4].relative;
    god.source = QStringLiteral("line");
    god.positions = {2};
    god.chosen = 2;
    god.branch = s.main[4].branchElement.left(1);
    const QList<reading::TimingCandidate> found = reading::timingCandidates(s, god, request);
    QStringList got, want;
    for (const auto& t : found) got << t.date.toString(Qt::ISODate) + u' ' + t.dayPillar + u' ' + t.kind;
    for (const Expected& e : expected)
        want << QString::fromLatin1(e.date) + u' ' + QString::fromUtf16(e.pillar) + u' ' + QString::fromUtf16(e.kind);
    EXPECT_EQ(got, want) << QString::fromUtf16(item).toStdString();
}

TEST(Timing, StillAndVoidAcrossAMonthEndAndAWeekBoundary) {
    // 丙午 day of the 甲辰 week (寅卯 void): 寅 waits for 申 (冲, 冲空) and for itself (值, 填实),
    // the latter on 甲寅, in the next month and the next week.
    expectTiming(u"妻财寅木", 1, u"丁酉", u"丙午", u"寅卯", QDate(2026, 9, 29),
                 {{"2026-10-01", u"戊申", u"冲"},
                  {"2026-10-01", u"戊申", u"冲空"},
                  {"2026-10-07", u"甲寅", u"值"},
                  {"2026-10-07", u"甲寅", u"填实"}});
}

TEST(Timing, MovingAndBrokenByTheMonth) {
    // 申 month breaks 寅; moving, it waits for 亥 (合) and for itself (值, 填实), 合 listed once.
    expectTiming(u"妻财寅木", 3, u"丙申", u"丙午", u"戌亥", QDate(2026, 9, 29),
                 {{"2026-10-04", u"辛亥", u"合"}, {"2026-10-07", u"甲寅", u"值"}, {"2026-10-07", u"甲寅", u"填实"}});
}

TEST(Timing, EntombedWaitsForTheTombToBeClashed) {
    // 木 is entombed in the 未 day: 丑 clashes the tomb. The 酉 month breaks 卯 as well: 戌 (合).
    expectTiming(u"妻财卯木", 1, u"丁酉", u"丁未", u"寅卯", QDate(2026, 9, 30),
                 {{"2026-10-02", u"己酉", u"冲"},
                  {"2026-10-02", u"己酉", u"冲空"},
                  {"2026-10-03", u"庚戌", u"合"},
                  {"2026-10-06", u"癸丑", u"冲墓"},
                  {"2026-10-08", u"乙卯", u"值"},
                  {"2026-10-08", u"乙卯", u"填实"}});
}

TEST(Timing, EarthTombFollowsTheSchool) {
    // 丑土 on a 戌 day: entombed only where 土's tomb is 戌; then 辰 clashes it.
    expectTiming(u"父母丑土", 1, u"丁酉", u"丙戌", u"午未", QDate(2026, 9, 9),
                 {{"2026-09-12", u"己丑", u"值"}, {"2026-09-18", u"乙未", u"冲"}});
    expectTiming(u"父母丑土", 1, u"丁酉", u"丙戌", u"午未", QDate(2026, 9, 9),
                 {{"2026-09-12", u"己丑", u"值"}, {"2026-09-15", u"壬辰", u"冲墓"}, {"2026-09-18", u"乙未", u"冲"}},
                 reading::Schools::EarthTomb::Xu);
}

TEST(Timing, CutOffWaitsForItsBirthWithinTheDaysAsked) {
    // 金 is cut off (绝) on the 寅 day and is born (长生) at 巳.
    expectTiming(u"兄弟申金", 1, u"丁酉", u"甲寅", u"子丑", QDate(2026, 10, 7),
                 {{"2026-10-10", u"丁巳", u"长生"}, {"2026-10-13", u"庚申", u"值"}, {"2026-10-19", u"丙寅", u"冲"}});
    expectTiming(u"兄弟申金", 1, u"丁酉", u"甲寅", u"子丑", QDate(2026, 10, 7), {{"2026-10-10", u"丁巳", u"长生"}},
                 reading::Schools::EarthTomb::Chen, 5);
}

}  // namespace
