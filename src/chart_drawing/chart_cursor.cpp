#include "chart_drawing/chart_cursor.h"

#include <algorithm>

namespace chart {
namespace {

using namespace geometry;

const Hexagram& linesOnView(const ChartState& state, bool showingChanged) {
    return showingChanged ? state.changed : state.main;
}

bool chartDrawn(const ChartState& state, bool showingChanged) {
    return !state.isEmpty() && !linesOnView(state, showingChanged)[0].hexagramName.isEmpty();
}

}  // namespace

bool itemShown(const ChartState& state, bool showingChanged, ChartHit item) {
    if (item.row < 1 || item.row > 6 || !chartDrawn(state, showingChanged)) return false;
    const ChartLine& line = linesOnView(state, showingChanged)[std::size_t(item.row - 1)];
    switch (item.column) {
    case 1: return !line.hiddenSpirit.isEmpty();
    case 2: return true;
    case 3: return !showingChanged && state.hasChanged && !line.changedLine.isEmpty();
    default: return false;
    }
}

ChartHit settleCursor(const ChartState& state, bool showingChanged, ChartHit cursor) {
    if (!chartDrawn(state, showingChanged)) return {};
    if (itemShown(state, showingChanged, cursor)) return cursor;
    return {cursor.row >= 1 && cursor.row <= 6 ? cursor.row : 1, 2};
}

ChartHit moveCursor(const ChartState& state, bool showingChanged, ChartHit cursor, CursorMove move) {
    const ChartHit from = settleCursor(state, showingChanged, cursor);
    if (from.row == 0) return from;
    switch (move) {
    case CursorMove::Left:
    case CursorMove::Right: {
        const int step = move == CursorMove::Left ? -1 : 1;
        for (int column = from.column + step; column >= 1 && column <= 3; column += step)
            if (itemShown(state, showingChanged, {from.row, column})) return {from.row, column};
        return from;
    }
    case CursorMove::Up:
    case CursorMove::Down: {
        const int row = from.row + (move == CursorMove::Up ? -1 : 1);
        if (row < 1 || row > 6) return from;
        return settleCursor(state, showingChanged, {row, from.column});
    }
    }
    return from;
}

int columnShift(const ChartState& state, const ChartOptions& options) {
    return state.method == ArrangementMethod::Zangshan ? stemsShownOffset(options) : 0;
}

QRect itemFrame(ChartHit item, int shift) {
    // From the item's first text to the next item's text (for the main item, the motion mark).
    const int lefts[3] = {kHiddenRelativeX, kRelativeX + shift, kChangedRelativeX + 2 * shift};
    const int rights[3] = {kRelativeX + shift, kMotionX + 2 * shift, kWidth};
    const std::size_t column = std::size_t(std::clamp(item.column, 1, 3) - 1);
    const int top = rowTop(item.row - 1);
    return QRect(QPoint(lefts[column] - 3, top + 1), QPoint(rights[column] - 4, top + kRowPitch - 1));
}

QPoint itemPoint(ChartHit item) {
    const int x = item.column == 1   ? kHiddenColumnEnd / 2
                  : item.column == 3 ? (kChangedColumnStart + kWidth) / 2
                                     : (kHiddenColumnEnd + kChangedColumnStart) / 2;
    return {x, rowTop(item.row - 1) + kRowPitch / 2};
}

}  // namespace chart
