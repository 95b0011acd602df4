#include "placement.h"

#include <algorithm>
#include <cmath>
#include <cstring>

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

QImage placedImage(const QImage &whole, QSize original, QSize canvas, Placement placement)
{
    Framing framing;
    framing.placement = placement;
    return placedImage(whole, original, canvas, framing, 1);
}

QImage placedImage(const QImage &whole, QSize original, QSize canvas, const Framing &framing, int cell, bool sampling)
{
    QImage out(canvas, QImage::Format_RGB32);
    out.fill(Qt::white);
    const QRect target = framedRect(original, canvas, framing, cell);
    const QRect shown = target & out.rect();
    if (whole.isNull() || shown.isEmpty())
        return out;
    // The part of the picture under what shows, in its own pixels, rounded outwards.
    const double kx = double(whole.width()) / target.width();
    const double ky = double(whole.height()) / target.height();
    const QRect source = QRect(QPoint(int(std::floor((shown.left() - target.left()) * kx)),
                                      int(std::floor((shown.top() - target.top()) * ky))),
                               QPoint(int(std::ceil((shown.right() + 1 - target.left()) * kx)) - 1,
                                      int(std::ceil((shown.bottom() + 1 - target.top()) * ky)) - 1))
                             & whole.rect();
    // Blown up a whole number of times for the averages: each pixel a block of its own, so that
    // one pixel a dot is its own colour to the cell's edges.
    if (sampling && target.width() % whole.width() == 0 && target.height() % whole.height() == 0) {
        const int bx = target.width() / whole.width(), by = target.height() / whole.height();
        const QImage in = whole.convertToFormat(QImage::Format_RGB32);
        for (int y = shown.top(); y <= shown.bottom(); ++y) {
            const auto *from = reinterpret_cast<const QRgb *>(in.constScanLine((y - target.top()) / by));
            auto *to = reinterpret_cast<QRgb *>(out.scanLine(y));
            for (int x = shown.left(); x <= shown.right(); ++x)
                to[x] = from[(x - target.left()) / bx];
        }
        return out;
    }
    const QImage part = (source == whole.rect() ? whole : whole.copy(source))
                            .scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < part.height(); ++y)
        std::memcpy(out.scanLine(shown.top() + y) + 4 * shown.left(), part.constScanLine(y), size_t(part.width()) * 4);
    return out;
}
