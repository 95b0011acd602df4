#pragma once

#include <QPoint>

#include <cstdlib>

// Calls `paint` for every dot on the straight line from `from` to `to`, both ends included,
// in order from `from`. The window system delivers pointer moves sparsely when the hand is
// quick; these are the dots the pointer passed over between two of them. One dot per step
// along the longer axis (Bresenham's line), so a line across n cells costs n paints.
template<typename Paint>
void forEachDotOnLine(QPoint from, QPoint to, Paint paint)
{
    const int dx = std::abs(to.x() - from.x());
    const int dy = -std::abs(to.y() - from.y());
    const int stepX = from.x() < to.x() ? 1 : -1;
    const int stepY = from.y() < to.y() ? 1 : -1;
    int error = dx + dy;
    for (QPoint p = from;;) {
        paint(p);
        if (p == to)
            return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            p.rx() += stepX;
        }
        if (twice <= dx) {
            error += dx;
            p.ry() += stepY;
        }
    }
}
