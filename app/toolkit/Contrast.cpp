#include "Contrast.h"

#include <cmath>

namespace {

double channel(double c)
{
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &c)
{
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(const QColor &colour, const QColor &background, double ratio)
{
    const bool darken = luminance(background) > 0.18;
    const QColor hsl = colour.toHsl();
    // Lightness in steps of 1 of 255, measured as the 8-bit colour it will be drawn in: at its
    // end (black or white) every background is met.
    for (int l = hsl.lightness(); l >= 0 && l <= 255; l += darken ? -1 : 1) {
        const QColor c = QColor::fromRgb(QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), l).rgb());
        if (contrastRatio(c, background) >= ratio)
            return c;
    }
    return darken ? QColor(Qt::black) : QColor(Qt::white);
}
