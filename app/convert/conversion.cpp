#include "conversion.h"

#include "cellAverages.h"
#include "underlay.h"

namespace {
// Dots are averaged from this many pixels a side, whatever the magnification: plenty for an
// average, and little to decode. Lying as loaded, the underlay lies at the canvas's own scale.
constexpr int kSamplesPerDot = 8;
} // namespace

Conversion::Result Conversion::run(Underlay &underlay, QSize dots, int dotSize, const ConvertSettings &s)
{
    const Framing framing = underlay.hasWhole() ? s.framing : Framing{};
    const int cell = framing.placement == Placement::AsLoaded ? std::max(dotSize, 1) : kSamplesPerDot;
    const Key key{underlay.generation(), framing, dots, cell};
    if (!(key == key_)) {
        values_ = cellAverages(underlay.samples(dots, cell, framing), dots, cell);
        // The automatic threshold splits the picture's own tones: the white margins a fitted
        // picture leaves would otherwise be one class, and every tone of the picture the other.
        const QRect covered = underlay.covered(dots, cell, framing);
        std::vector<quint8> picture;
        for (int y = 0; y < dots.height(); ++y)
            for (int x = 0; x < dots.width(); ++x)
                if (covered.contains(QPoint(x * cell + cell / 2, y * cell + cell / 2)))
                    picture.push_back(values_[size_t(y) * size_t(dots.width()) + size_t(x)]);
        otsu_ = otsuThreshold(picture.empty() ? values_ : picture);
        key_ = key;
    }
    Result r;
    r.threshold = s.automatic ? otsu_ : s.threshold;
    r.dots = dotsFrom(values_, dots, r.threshold, s.dither, s.invert);
    return r;
}
