#include "underlay.h"

#include "toolkit/PictureLoader.h"

#include <cstring>

void Underlay::take(const LoadedPicture &picture)
{
    topLeft_ = picture.image;
    whole_ = picture.whole;
    original_ = picture.declared.isValid() ? picture.declared : picture.image.size();
    ++generation_;
    placed_ = QImage();
    placedKey_ = 0;
}

std::uint64_t Underlay::holderKey(QSize canvas) const
{
    const Placement p = shownPlacement();
    if (p == Placement::AsLoaded)
        return generation_ << 24; // the same whatever the canvas
    return generation_ << 24 ^ std::uint64_t(p) << 22 ^ std::uint64_t(canvas.width()) << 11
           ^ std::uint64_t(canvas.height()) ^ 1;
}

const QImage &Underlay::holderImage(QSize canvas)
{
    const Placement p = shownPlacement();
    if (p == Placement::AsLoaded)
        return topLeft_;
    const std::uint64_t key = holderKey(canvas);
    if (key != placedKey_) {
        placed_ = placedImage(whole_, original_, canvas, p);
        placedKey_ = key;
    }
    return placed_;
}

QImage Underlay::samples(QSize dots, int cell, Placement placement) const
{
    const QSize canvas = dots * cell;
    if (placement != Placement::AsLoaded && hasWhole())
        return placedImage(whole_, original_, canvas, placement);
    // As loaded: the top-left part under the canvas, over white, as the canvas shows it.
    QImage out(canvas, QImage::Format_RGB32);
    out.fill(Qt::white);
    if (topLeft_.isNull())
        return out;
    const QImage part = topLeft_.copy(QRect(QPoint(0, 0), canvas.boundedTo(topLeft_.size())));
    QImage opaque = part.hasAlphaChannel() ? part.convertToFormat(QImage::Format_ARGB32) : part.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < opaque.height(); ++y) {
        auto *to = reinterpret_cast<QRgb *>(out.scanLine(y));
        const auto *from = reinterpret_cast<const QRgb *>(opaque.constScanLine(y));
        for (int x = 0; x < opaque.width(); ++x) {
            const QRgb c = from[x];
            const int a = qAlpha(c);
            to[x] = qRgb((qRed(c) * a + 255 * (255 - a)) / 255, (qGreen(c) * a + 255 * (255 - a)) / 255,
                         (qBlue(c) * a + 255 * (255 - a)) / 255);
        }
    }
    return out;
}
