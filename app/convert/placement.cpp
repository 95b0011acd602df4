#include "placement.h"

#include <algorithm>
#include <cmath>

QRect placedRect(QSize picture, QSize canvas, Placement placement)
{
    if (picture.isEmpty() || canvas.isEmpty())
        return {};
    if (placement == Placement::AsLoaded)
        return QRect(QPoint(0, 0), picture);
    const double sx = double(canvas.width()) / picture.width();
    const double sy = double(canvas.height()) / picture.height();
    const double s = placement == Placement::Fitted ? std::min(sx, sy) : std::max(sx, sy);
    const int w = std::max(1, int(std::lround(picture.width() * s)));
    const int h = std::max(1, int(std::lround(picture.height() * s)));
    // Centred; an odd pixel left over goes to the right and the bottom.
    const auto half = [](int d) { return int(std::floor(d / 2.0)); };
    return QRect(half(canvas.width() - w), half(canvas.height() - h), w, h);
}

namespace {
// Canvas dots a picture pixel, as the placement lays it on the canvas, unrounded.
double placedScale(QSize picture, QSize canvas, Placement placement)
{
    const double sx = double(canvas.width()) / picture.width();
    const double sy = double(canvas.height()) / picture.height();
    return placement == Placement::Filled ? std::max(sx, sy) : std::min(sx, sy);
}
} // namespace

Framing framingOn(const Framing &framing, QSize picture, QSize canvasDots)
{
    Framing f = framing;
    f.canvas = canvasDots;
    if (framing.canvas.isEmpty() || framing.canvas == canvasDots || framing.shift.isNull() || picture.isEmpty()
        || canvasDots.isEmpty() || framing.placement == Placement::AsLoaded)
        return f;
    f.shift = framing.shift * (placedScale(picture, canvasDots, framing.placement)
                               / placedScale(picture, framing.canvas, framing.placement));
    return f;
}

QRect framedRect(QSize picture, QSize canvas, const Framing &given, int cell)
{
    const QRect placed = placedRect(picture, canvas, given.placement);
    const Framing framing = cell > 0 ? framingOn(given, picture, canvas / cell) : given;
    if (!framing.framed() || placed.isEmpty())
        return placed;
    // Scaled about the canvas's middle, then moved; to whole pixels, at least one.
    const QPointF middle(canvas.width() / 2.0, canvas.height() / 2.0);
    const QPointF topLeft = middle + (QPointF(placed.topLeft()) - middle) * framing.zoom + framing.shift * cell;
    const QSizeF size = QSizeF(placed.size()) * framing.zoom;
    const int left = int(std::lround(topLeft.x())), top = int(std::lround(topLeft.y()));
    return QRect(left, top, std::max(1, int(std::lround(topLeft.x() + size.width())) - left),
                 std::max(1, int(std::lround(topLeft.y() + size.height())) - top));
}

Framing zoomedAbout(const Framing &framing, double factor, QPointF at)
{
    // A point of the picture under `at` is at middle + zoom * (its place unzoomed) + shift:
    // keeping it there as the zoom grows by `factor` moves the picture by this much.
    Framing f = framing;
    f.zoom = framing.zoom * factor;
    f.shift = at - (at - framing.shift) * factor;
    return f;
}

Framing movedBy(const Framing &framing, QPointF dots)
{
    Framing f = framing;
    f.shift += dots;
    return f;
}

