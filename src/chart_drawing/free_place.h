#pragma once
// Finding room for a text that may move: the nearest place to where it belongs that keeps clear
// of what is already drawn. QtCore only.
#include <QRect>
#include <optional>
#include <vector>

namespace chart {

// The rectangle `wanted` moved as little as possible (straight-line distance) so that it lies
// inside `area` and at least `gap` pixels clear of every obstacle; `wanted` itself when it
// already does. The moves tried put it at its own place or against an edge of an obstacle or
// of the area, in each direction. None when no such place exists.
std::optional<QRect> nearestFreePlace(const QRect& wanted, const QRect& area, const std::vector<QRect>& obstacles,
                                      int gap = 1);

}  // namespace chart
