#include "shapes.h"

#include "dotImage.h"
#include "strokeLine.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace shapes {

QRect box(QPoint a, QPoint b)
{
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())), QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

std::vector<QPoint> line(QPoint a, QPoint b)
{
    std::vector<QPoint> dots;
    forEachDotOnLine(a, b, [&dots](QPoint p) { dots.push_back(p); });
    return dots;
}

QPoint snapped(QPoint a, QPoint b)
{
    const int dx = b.x() - a.x(), dy = b.y() - a.y();
    const int ax = std::abs(dx), ay = std::abs(dy);
    // Within 22.5 degrees of an axis: along it (tan 22.5 is about 0.4142, 2 * 0.4142 = 0.8284).
    if (ay * 10000 <= ax * 4142)
        return QPoint(b.x(), a.y());
    if (ax * 10000 <= ay * 4142)
        return QPoint(a.x(), b.y());
    const int d = std::max(ax, ay);
    return QPoint(a.x() + (dx < 0 ? -d : d), a.y() + (dy < 0 ? -d : d));
}

QPoint squared(QPoint a, QPoint b)
{
    const int dx = b.x() - a.x(), dy = b.y() - a.y();
    const int d = std::max(std::abs(dx), std::abs(dy));
    return QPoint(a.x() + (dx < 0 ? -d : d), a.y() + (dy < 0 ? -d : d));
}

std::vector<QPoint> rectangle(QPoint a, QPoint b, bool filled)
{
    const QRect r = box(a, b);
    std::vector<QPoint> dots;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (filled || y == r.top() || y == r.bottom() || x == r.left() || x == r.right())
                dots.emplace_back(x, y);
    return dots;
}

std::vector<QPoint> ellipse(QPoint a, QPoint b, bool filled)
{
    const QRect r = box(a, b);
    const int w = r.width(), h = r.height();
    // Two dots wide or high or less: nothing but the box itself is symmetric and unbroken.
    if (w <= 2 || h <= 2)
        return rectangle(r.topLeft(), r.bottomRight(), true);
    // The upper right quarter, from the top of the middle to the right of the middle, dot by
    // dot to the right, down or both: the path whose dots lie nearest, all told, the ellipse
    // through the middles of the box's edges, among those that never turn from right to down
    // or down to right without a diagonal step between (the doubled corner). Where it meets
    // its mirror images (an even side), it leaves them as it would leave itself. Then mirrored
    // both ways, so that the whole is symmetric in its box whether its sides are even or odd.
    const double cx = (w - 1) / 2.0, cy = (h - 1) / 2.0;
    const auto off = [cx, cy](int x, int y) {
        const double u = (x - cx) / cx, v = (y - cy) / cy;
        return std::abs(u * u + v * v - 1);
    };
    const int x0 = w / 2, y1 = (h - 1) / 2, nx = w - x0, ny = y1 + 1;
    enum Move { Right, Down, Both, Start };
    const QPoint step[] = {QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)};
    constexpr double kNone = 1e300;
    // cost[(y * nx + x) * 4 + move]: the least sum of distances to reach (x0 + x, y), arriving by move.
    std::vector<double> cost(size_t(nx) * size_t(ny) * 4, kNone);
    const auto at = [nx](int x, int y, int m) { return (size_t(y) * size_t(nx) + size_t(x)) * 4 + size_t(m); };
    // An even width's top middle meets its mirror to the left: it arrives from the side there.
    cost[at(0, 0, w % 2 == 0 ? Right : Start)] = off(x0, 0);
    for (int y = 0; y < ny; ++y)
        for (int x = 0; x < nx; ++x)
            for (int m = 0; m < 4; ++m) {
                const double c = cost[at(x, y, m)];
                if (c >= kNone)
                    continue;
                for (int n = Right; n <= Both; ++n) {
                    if ((m == Right && n == Down) || (m == Down && n == Right))
                        continue;
                    const int tx = x + step[n].x(), ty = y + step[n].y();
                    if (tx >= nx || ty >= ny)
                        continue;
                    double &t = cost[at(tx, ty, n)];
                    t = std::min(t, c + off(x0 + tx, ty));
                }
            }
    // An even height's right middle meets its mirror below: it must not arrive from the side.
    int move = -1;
    for (int m = 0; m < 4; ++m)
        if ((h % 2 != 0 || m != Right) && (move < 0 || cost[at(nx - 1, ny - 1, m)] < cost[at(nx - 1, ny - 1, move)]))
            move = m;
    std::vector<QPoint> quarter;
    for (int x = nx - 1, y = ny - 1;;) {
        quarter.push_back(QPoint(x0 + x, y));
        if (move == Start || (x == 0 && y == 0))
            break;
        const double here = cost[at(x, y, move)] - off(x0 + x, y);
        const int px = x - step[move].x(), py = y - step[move].y();
        int from = -1;
        for (int m = 0; m < 4 && from < 0; ++m) {
            if ((m == Right && move == Down) || (m == Down && move == Right))
                continue;
            if (std::abs(cost[at(px, py, m)] - here) < 1e-9)
                from = m;
        }
        x = px;
        y = py;
        move = from;
    }
    std::vector<QPoint> dots;
    const auto add = [&dots, &r](int x, int y) {
        const QPoint p = r.topLeft() + QPoint(x, y);
        if (std::find(dots.begin(), dots.end(), p) == dots.end())
            dots.push_back(p);
    };
    for (const QPoint &q : quarter) {
        add(q.x(), q.y());
        add(w - 1 - q.x(), q.y());
        add(q.x(), h - 1 - q.y());
        add(w - 1 - q.x(), h - 1 - q.y());
    }
    if (!filled)
        return dots;
    // Filled: every row from its leftmost outline dot to its rightmost.
    std::vector<QPoint> all;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        int left = r.right() + 1, right = r.left() - 1;
        for (const QPoint &p : dots)
            if (p.y() == y) {
                left = std::min(left, p.x());
                right = std::max(right, p.x());
            }
        for (int x = left; x <= right; ++x)
            all.emplace_back(x, y);
    }
    return all;
}

std::vector<QPoint> region(const QImage &picture, QPoint at)
{
    std::vector<QPoint> dots;
    if (at.x() < 0 || at.y() < 0 || at.x() >= picture.width() || at.y() >= picture.height())
        return dots;
    const int w = picture.width(), h = picture.height();
    const QRgb colour = dots::at(picture, at.x(), at.y());
    std::vector<char> seen(size_t(w) * size_t(h), 0);
    std::vector<QPoint> pending{at};
    seen[size_t(at.y()) * size_t(w) + size_t(at.x())] = 1;
    while (!pending.empty()) {
        const QPoint p = pending.back();
        pending.pop_back();
        dots.push_back(p);
        for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint n = p + d;
            if (n.x() < 0 || n.y() < 0 || n.x() >= w || n.y() >= h)
                continue;
            char &s = seen[size_t(n.y()) * size_t(w) + size_t(n.x())];
            if (s || dots::at(picture, n.x(), n.y()) != colour)
                continue;
            s = 1;
            pending.push_back(n);
        }
    }
    return dots;
}

bool isDoubledCorner(QPoint a, QPoint b, QPoint c)
{
    const QPoint ac = c - a, ab = b - a, bc = c - b;
    const auto side = [](QPoint d) { return std::abs(d.x()) + std::abs(d.y()) == 1; };
    return std::abs(ac.x()) == 1 && std::abs(ac.y()) == 1 && side(ab) && side(bc);
}

QImage part(const QImage &picture, QRect area)
{
    const QRect inside = area & picture.rect();
    QImage out = dots::white(inside.size());
    for (int y = 0; y < inside.height(); ++y)
        for (int x = 0; x < inside.width(); ++x)
            dots::put(out, x, y, dots::at(picture, inside.x() + x, inside.y() + y));
    return out;
}

QImage emptied(const QImage &picture, QRect area)
{
    QImage out = picture.convertToFormat(QImage::Format_RGB32);
    const QRect inside = area & picture.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            dots::put(out, x, y, dots::kWhitePixel);
    return out;
}

QImage placed(const QImage &picture, const QImage &part, QPoint at)
{
    QImage out = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < part.height(); ++y)
        for (int x = 0; x < part.width(); ++x) {
            const QPoint p = at + QPoint(x, y);
            if (out.rect().contains(p))
                dots::put(out, p.x(), p.y(), dots::at(part, x, y));
        }
    return out;
}

} // namespace shapes
