#include "underlay.h"

#include <cmath>

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
