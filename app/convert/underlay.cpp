#include "underlay.h"

#include "pictures/PictureLoader.h"

#include <cstring>

void Underlay::take(std::shared_ptr<PictureSource> source)
{
    source_ = std::move(source);
    framing_ = Framing{framing_.placement, 1.0, {}};
    ++generation_;
    placed_ = QImage();
    placedKey_.reset();
}

bool Underlay::hasWhole() const { return source_ && source_->hasWhole(); }

Framing Underlay::framingFor(QSize dots) const
{
    return source_ ? framingOn(framing_, source_->declared(), dots) : framing_;
}

Underlay::HolderKey Underlay::holderKey(QSize canvas, int cell) const
{
    const Framing f = shownFraming();
    if (f.placement == Placement::AsLoaded)
        return HolderKey{generation_, strength_, f, QSize(), 0}; // the same whatever the canvas
    return HolderKey{generation_, strength_, f, canvas, f.framed() ? cell : 0};
}

QImage Underlay::placed(QSize canvas, const Framing &framing, int cell, bool sampling) const
{
    // Decoded as large as the canvas shows it, and no larger.
    const QSize need = framedRect(source_->declared(), canvas, framing, cell).size();
    const QImage whole = source_->whole(need);
    if (whole.isNull())
        return {};
    return placedImage(whole, source_->declared(), canvas, framing, cell, sampling);
}

const QImage &Underlay::holderImage(QSize canvas, int cell)
{
    const Framing f = shownFraming();
    const HolderKey key = holderKey(canvas, cell);
    if (!placedKey_ || key != *placedKey_ || placed_.isNull()) {
        placed_ = f.placement == Placement::AsLoaded ? source_->topLeft() : placed(canvas, f, cell);
        // A whole picture that could not be had after all: the top-left part, as loaded.
        if (placed_.isNull())
            placed_ = source_->topLeft();
        placed_ = atStrength(placed_, strength_);
        placedKey_ = key;
    }
    return placed_;
}

QRect Underlay::covered(QSize dots, int cell, const Framing &framing) const
{
    const QRect canvas(QPoint(0, 0), dots * cell);
    if (!source_)
        return {};
    if (framing.placement != Placement::AsLoaded && hasWhole())
        return framedRect(source_->declared(), canvas.size(), framing, cell) & canvas;
    return QRect(QPoint(0, 0), source_->topLeft().size()) & canvas;
}

QImage Underlay::whole() const
{
    if (!hasWhole())
        return {};
    const QImage image = source_->whole(QSize(1 << 20, 1 << 20));
    return image.format() == QImage::Format_RGB32 ? image : opaqueOverWhite(image).convertToFormat(QImage::Format_RGB32);
}

QRect Underlay::target(QSize dots, int cell, const Framing &framing) const
{
    return source_ ? framedRect(source_->declared(), dots * cell, framing, cell) : QRect();
}

QImage Underlay::samples(QSize dots, int cell, const Framing &framing) const
{
    const QSize canvas = dots * cell;
    if (framing.placement != Placement::AsLoaded && hasWhole()) {
        const QImage image = placed(canvas, framing, cell, true);
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

QImage atStrength(QImage image, double strength)
{
    if (strength >= 1.0 || image.isNull())
        return image;
    // Laid over white first, so that a transparent part stays white.
    image = opaqueOverWhite(std::move(image));
    const int keep = int(std::lround(strength * 256));
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            const auto toward = [keep](int c) { return 255 - ((255 - c) * keep + 128) / 256; };
            line[x] = qRgb(toward(qRed(p)), toward(qGreen(p)), toward(qBlue(p)));
        }
    }
    return image;
}
