#include "chart_drawing/chart_cursor.h"

#include <gtest/gtest.h>

namespace {

using chart::ChartHit;
using chart::CursorMove;

// 乾为天 with its top line moving into 泽天夬 (父母未土) and a hidden 妻财寅木 under the fifth
// line from the top (row 5).
chart::ChartState movingTopLine() {
    chart::ChartState s;
    for (chart::ChartLine& l : s.main) {
        l.relative = QStringLiteral("兄弟");
        l.branchElement = QStringLiteral("申金");
        l.code = 1;
    }
    s.main[0].hexagramName = QStringLiteral("乾为天");
    s.main[0].code = 3;
    s.main[0].changedLine = QStringLiteral("父母未土");
    s.main[4].hiddenSpirit = QStringLiteral("妻财寅木");
    s.changed[0].hexagramName = QStringLiteral("泽天夬");
    s.hasChanged = true;
    return s;
}

bool operator==(ChartHit a, ChartHit b) { return a.row == b.row && a.column == b.column; }

TEST(ChartCursor, ItemsDrawnFollowTheLinesAndTheView) {
    const chart::ChartState s = movingTopLine();
    struct Case {
        bool showingChanged;
        ChartHit item;
        bool shown;
    } cases[] = {
        {false, {1, 2}, true}, {false, {6, 2}, true},  {false, {1, 3}, true},  {false, {2, 3}, false},
        {false, {5, 1}, true}, {false, {4, 1}, false}, {false, {0, 2}, false}, {false, {7, 2}, false},
        {true, {1, 3}, false},  // the changed hexagram on view is drawn alone
        {true, {3, 2}, true},  {true, {5, 1}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chart::itemShown(s, c.showingChanged, c.item), c.shown)
            << c.item.row << "," << c.item.column << " changed view " << c.showingChanged;
    EXPECT_FALSE(chart::itemShown(chart::ChartState(), false, {1, 2}));
    EXPECT_EQ(chart::settleCursor(chart::ChartState(), false, {1, 2}).row, 0);
}

TEST(ChartCursor, ArrowsStepOverItemsNotDrawn) {
    const chart::ChartState s = movingTopLine();
    struct Case {
        ChartHit from;
        CursorMove move;
        ChartHit to;
    } cases[] = {
        {{1, 2}, CursorMove::Right, {1, 3}}, {{1, 3}, CursorMove::Right, {1, 3}},  // the edge
        {{1, 2}, CursorMove::Left, {1, 2}},                                        // no hidden spirit in row 1
        {{5, 2}, CursorMove::Left, {5, 1}},  {{5, 1}, CursorMove::Right, {5, 2}},
        {{1, 3}, CursorMove::Down, {2, 2}},  // row 2 does not change
        {{4, 2}, CursorMove::Down, {5, 2}},  {{5, 1}, CursorMove::Up, {4, 2}},
        {{1, 2}, CursorMove::Up, {1, 2}},    {{6, 2}, CursorMove::Down, {6, 2}},
        {{2, 3}, CursorMove::Up, {1, 2}},  // a cursor left on an item no longer drawn starts from its row's main item
    };
    for (const Case& c : cases) {
        const ChartHit to = chart::moveCursor(s, false, c.from, c.move);
        EXPECT_TRUE(to == c.to) << c.from.row << "," << c.from.column << " move " << int(c.move) << " gave " << to.row
                                << "," << to.column;
    }
}

TEST(ChartCursor, TheItemPointIsWhereAClickPicksTheItem) {
    for (int row = 1; row <= 6; ++row)
        for (int column = 1; column <= 3; ++column) {
            const QPoint at = chart::itemPoint({row, column});
            EXPECT_TRUE(chart::hitTest(at.x(), at.y()) == (ChartHit{row, column})) << row << "," << column;
            // The frame drawn around the item stays inside the item's own row band.
            const QRect frame = chart::itemFrame({row, column}, chart::geometry::kStemsShift);
            EXPECT_GT(frame.top(), chart::geometry::rowTop(row - 1));
            EXPECT_LT(frame.bottom(), chart::geometry::rowTop(row));
            EXPECT_LE(frame.right(), chart::geometry::kWidth);
        }
}

}  // namespace
