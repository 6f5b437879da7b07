// The colours strength notes are drawn in, by season state: those of the first release's charts.
#include <gtest/gtest.h>

#include "chart_drawing/chart_painter.h"
#include "test_support/qt_printers.h"

namespace {

TEST(SeasonColor, EachStateInTheColourOfItsNote) {
    using enum analysis::SeasonState;
    const struct {
        analysis::SeasonState season;
        QColor color;
    } cases[] = {
        {Prosperous, QColor(255, 0, 0)},   // 旺
        {Supported, QColor(255, 0, 0)},    // 相
        {Resting, QColor(210, 105, 30)},   // 衰 (classical 休)
        {Confined, QColor(180, 105, 30)},  // 休 (classical 囚)
        {Dead, QColor(94, 38, 18)},        // 囚 (classical 死)
    };
    for (const auto& c : cases) EXPECT_EQ(chart::seasonColor(c.season), c.color) << int(c.season);
    // No season state: the note keeps the plain note colour.
    EXPECT_FALSE(chart::seasonColor(None).isValid());
}

}  // namespace
