#pragma once

#include "placement.h"
#include "colours.h"
#include "threshold.h"

#include <QImage>
#include <QSize>

#include <cstdint>
#include <vector>

class Underlay;

// How the underlay is turned into dots.
struct ConvertSettings
{
    Framing framing{Placement::Fitted, 1.0, {}};
    bool automatic = true; // the threshold by Otsu's method
    int threshold = 128;   // when not automatic: a dot darker than this is black
    Dither dither = Dither::None;
    bool invert = false;
    // The nine emoji squares instead of black and white (colours.h).
    bool colour = false;
    // Applied to the underlay's brightness before the threshold or the dither, -100 to 100:
    // lighter or darker by up to half the range, the tones spread apart or drawn together.
    int brightness = 0;
    int contrast = 0;
    // An unsharp mask on the underlay before its per-dot averages: the edges of a face kept
    // where a plain average turns a mid-toned picture into a checkerboard.
    bool sharpen = false;
    bool operator==(const ConvertSettings &o) const
    {
        return framing == o.framing && automatic == o.automatic && threshold == o.threshold && dither == o.dither
               && invert == o.invert && colour == o.colour && brightness == o.brightness && contrast == o.contrast
               && sharpen == o.sharpen;
    }
};

// A brightness of `v` (0 to 255) after `brightness` and `contrast` (each -100 to 100): the
// contrast spreads the tones about the middle grey by (100 + c) / 100 when it draws them
// together and 100 / (100 - c) when it spreads them apart (at most 100 / 1), the brightness
// adds up to 128 either way.
int adjusted(int v, int brightness, int contrast);
// An unsharp mask: each pixel pushed away from the average of the `radius` pixels around it
// by as much again as it differs from it.
QImage sharpened(const QImage &samples, int radius);

// The underlay turned into a picture of dots: each dot's brightness is the average of the
// underlay pixels its cell covers, then a threshold and a dither decide. The averages are
// kept while the underlay, the size and the placement stay, so a new threshold or dither
// costs a pass over the dots alone.
class Conversion
{
public:
    struct Result
    {
        QImage dots;
        int threshold = 0; // the one used: Otsu's when automatic
    };
    Result run(Underlay &underlay, QSize dots, int dotSize, const ConvertSettings &settings);

private:
    // The averages (and the colours, when asked) over the whole picture, for a picture
    // fitted, filled or framed; false when only its top-left part is kept.
    bool average(const Underlay &underlay, QSize dots, int cell, const Framing &framing, bool colour);

    // What the averages were made of: the underlay, where it lay, the size, the samples a dot.
    struct Key
    {
        std::uint64_t underlay = ~std::uint64_t(0);
        Framing framing;
        QSize dots;
        int cell = 0;
        bool sharpen = false;
        bool operator==(const Key &o) const
        {
            return underlay == o.underlay && framing == o.framing && dots == o.dots && cell == o.cell && sharpen == o.sharpen;
        }
    };
    std::vector<quint8> values_;
    std::vector<Lab> colours_;
    bool haveColours_ = false;
    QImage samples_;
    Key key_;
    int otsu_ = 128;
};
