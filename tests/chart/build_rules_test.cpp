#include <gtest/gtest.h>

#include "chart/cast_pillars.h"
#include "chart/chart_build.h"
#include "chart/elements.h"
#include "test_support/qt_printers.h"

namespace {

TEST(ChangedCode, MovingLinesAlwaysChangeStaticOnesOnlyInHiding) {
    struct Case {
        int code;
        bool shown, hidden;
        int changed;
        bool changes;
    };
    for (const Case& c : {Case{3, false, false, 2, true}, Case{4, false, false, 1, true},
                          Case{1, false, false, 1, false}, Case{2, false, false, 2, false},
                          Case{1, true, false, 1, false}, Case{1, false, true, 1, false}, Case{1, true, true, 2, true},
                          Case{2, true, true, 1, true}, Case{3, true, true, 2, true}, Case{0, true, true, 0, false}}) {
        const chart::ChangedCode got = chart::changedCode(c.code, c.shown, c.hidden);
        EXPECT_EQ(got.code, c.changed) << c.code << c.shown << c.hidden;
        EXPECT_EQ(got.changes, c.changes) << c.code << c.shown << c.hidden;
    }
}

chart::ChartState stateWithSlots(const QString& first, const QString& second) {
    chart::ChartState state;
    state.firstSlot = first;
    state.secondSlot = second;
    state.monthBranchText = chart::branchPolarityText(first.at(1));
    state.dayBranchText = chart::branchPolarityText(second.at(1));
    state.voidPair = {u'戌', u'亥'};
    return state;
}

TEST(HiddenMovement, NeedsStrengthAndADayClash) {
    struct Case {
        const char16_t* month;
        const char16_t* day;
        const char16_t* line;
        int code;
        bool moving;
    };
    for (const Case& c : {
             Case{u"丙寅月", u"甲申日", u"寅木", 1, true},   // same element as the month, clashed by 申
             Case{u"丙寅月", u"甲申日", u"寅木", 3, false},  // a moving line never moves in hiding
             Case{u"丙子月", u"甲申日", u"寅木", 2, true},   // the month's water generates wood
             Case{u"丙午月", u"甲申日", u"寅木", 1, false},  // fire neither matches nor generates wood
             Case{u"丙寅月", u"乙酉日", u"寅木", 1, false},  // no clash
             Case{u"庚辰月", u"乙酉日", u"卯木", 1, true},   // 辰 closes the season of 卯
             Case{u"庚辰月", u"丙辰日", u"戌土", 2, true},   // 戌 is void and strong
             Case{u"辛酉月", u"庚辰日", u"戌土", 2, true},   // void alone is enough beside the clash
             Case{u"辛酉月", u"甲子日", u"午火", 1, false},  // weak and not void
         }) {
        chart::ChartState state = stateWithSlots(QString::fromUtf16(c.month), QString::fromUtf16(c.day));
        state.main[2].branchElement = QString::fromUtf16(c.line);
        state.main[2].code = c.code;
        EXPECT_EQ(chart::isHiddenMoving(state, 2), c.moving)
            << QString::fromUtf16(c.month).toStdString() << QString::fromUtf16(c.day).toStdString()
            << QString::fromUtf16(c.line).toStdString();
    }
}

}  // namespace
