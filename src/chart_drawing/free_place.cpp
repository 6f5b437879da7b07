#include "chart_drawing/free_place.h"

#include <algorithm>
#include <cstdlib>

namespace chart {

std::optional<QRect> nearestFreePlace(const QRect& wanted, const QRect& area, const std::vector<QRect>& obstacles,
                                      int gap) {
    std::vector<QRect> near;
    for (const QRect& o : obstacles) {
        const QRect grown = o.adjusted(-gap, -gap, gap, gap);
        if (grown.intersects(area)) near.push_back(grown);
    }
    const auto isFree = [&](const QRect& r) {
        return area.contains(r) &&
               std::none_of(near.begin(), near.end(), [&](const QRect& o) { return o.intersects(r); });
    };
    if (isFree(wanted)) return wanted;

    // Just clear of an edge: left of it, right of it; above, below.
    std::vector<int> dxs{0, area.left() - wanted.left(), area.right() - wanted.right()};
    std::vector<int> dys{0, area.top() - wanted.top(), area.bottom() - wanted.bottom()};
    for (const QRect& o : near) {
        dxs.push_back(o.right() + 1 - wanted.left());
        dxs.push_back(o.left() - 1 - wanted.right());
        dys.push_back(o.bottom() + 1 - wanted.top());
        dys.push_back(o.top() - 1 - wanted.bottom());
    }
    std::vector<QPoint> moves;
    moves.reserve(dxs.size() * dys.size());
    for (int dx : dxs)
        for (int dy : dys) moves.emplace_back(dx, dy);
    // Nearest first; of two equally near, the one that keeps to its line (smaller vertical move).
    std::sort(moves.begin(), moves.end(), [](const QPoint& a, const QPoint& b) {
        const int da = a.x() * a.x() + a.y() * a.y(), db = b.x() * b.x() + b.y() * b.y();
        return da != db ? da < db : std::abs(a.y()) < std::abs(b.y());
    });
    for (const QPoint& m : moves) {
        const QRect r = wanted.translated(m);
        if (isFree(r)) return r;
    }
    return std::nullopt;
}

}  // namespace chart
