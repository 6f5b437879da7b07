// Room for a text that may move: the nearest place inside its area, a pixel clear of obstacles.
#include "chart_drawing/free_place.h"

#include <gtest/gtest.h>

#include "test_support/qt_printers.h"

namespace {

TEST(FreePlace, NearestPlaceClearOfObstacles) {
    const QRect area(0, 0, 100, 30);
    const QRect wanted(10, 10, 10, 10);  // x 10..19, y 10..19
    const struct {
        const char* what;
        QRect wanted;
        std::vector<QRect> obstacles;
        std::optional<QRect> expected;
    } cases[] = {
        {"nothing in the way", wanted, {}, wanted},
        {"an obstacle far off", wanted, {QRect(40, 0, 10, 30)}, wanted},
        // Obstacle x 0..11 over the whole height: right of it with a pixel between.
        {"pushed right", wanted, {QRect(0, 0, 12, 30)}, QRect(13, 10, 10, 10)},
        // Obstacle x 18..67: three to the left beats 59 to the right.
        {"pushed left", wanted, {QRect(18, 0, 50, 30)}, QRect(7, 10, 10, 10)},
        // Obstacle y 15..29 across the width: up by six.
        {"pushed up", wanted, {QRect(0, 15, 100, 15)}, QRect(10, 4, 10, 10)},
        {"into the area", QRect(95, 10, 10, 10), {}, QRect(90, 10, 10, 10)},
        // A dot at (20, 15), touching the right edge: one pixel left leaves a pixel between.
        {"a pixel between", wanted, {QRect(20, 15, 1, 1)}, QRect(9, 10, 10, 10)},
        {"no room", wanted, {QRect(0, 0, 100, 30)}, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(chart::nearestFreePlace(c.wanted, area, c.obstacles), c.expected) << c.what;
}

}  // namespace
