#include "underlay.h"

#include "pictures/PictureLoader.h"

#include <cstring>

void Underlay::take(std::shared_ptr<PictureSource> source)
{
    source_ = std::move(source);
    ++generation_;
    placed_ = QImage();
    placedKey_ = 0;
}

bool Underlay::hasWhole() const { return source_ && source_->hasWhole(); }

std::uint64_t Underlay::holderKey(QSize canvas) const
{
    const Placement p = shownPlacement();
    if (p == Placement::AsLoaded)
        return generation_ << 24; // the same whatever the canvas
    return generation_ << 24 ^ std::uint64_t(p) << 22 ^ std::uint64_t(canvas.width()) << 11
           ^ std::uint64_t(canvas.height()) ^ 1;
}

QImage Underlay::placed(QSize canvas, Placement placement) const
{
    // Decoded as large as the canvas shows it, and no larger.
    const QSize need = placedRect(source_->declared(), canvas, placement).size();
    const QImage whole = source_->whole(need);
    if (whole.isNull())
        return {};
    return placedImage(whole, source_->declared(), canvas, placement);
}

const QImage &Underlay::holderImage(QSize canvas)
{
    const Placement p = shownPlacement();
    const std::uint64_t key = holderKey(canvas);
    if (key != placedKey_ || placed_.isNull()) {
        placed_ = p == Placement::AsLoaded ? source_->topLeft() : placed(canvas, p);
        // A whole picture that could not be had after all: the top-left part, as loaded.
        if (placed_.isNull())
            placed_ = source_->topLeft();
        placedKey_ = key;
    }
    return placed_;
}

QRect Underlay::covered(QSize dots, int cell, Placement placement) const
{
    const QRect canvas(QPoint(0, 0), dots * cell);
    if (!source_)
        return {};
    if (placement != Placement::AsLoaded && hasWhole())
        return placedRect(source_->declared(), canvas.size(), placement) & canvas;
    return QRect(QPoint(0, 0), source_->topLeft().size()) & canvas;
}

QImage Underlay::samples(QSize dots, int cell, Placement placement) const
{
    const QSize canvas = dots * cell;
    if (placement != Placement::AsLoaded && hasWhole()) {
        const QImage image = placed(canvas, placement);
        if (!image.isNull())
            return image;
    }
    // As loaded: the top-left part under the canvas, over white, as the canvas shows it.
    QImage out(canvas, QImage::Format_RGB32);
    out.fill(Qt::white);
    const QImage topLeft = source_ ? source_->topLeft() : QImage();
    if (topLeft.isNull())
        return out;
    const QImage part = opaqueOverWhite(topLeft.copy(QRect(QPoint(0, 0), canvas.boundedTo(topLeft.size()))));
    for (int y = 0; y < part.height(); ++y)
        std::memcpy(out.scanLine(y), part.constScanLine(y), size_t(part.width()) * 4);
    return out;
}
