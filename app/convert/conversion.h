#pragma once

#include "placement.h"
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
};

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
    // What the averages were made of: the underlay, where it lay, the size, the samples a dot.
    struct Key
    {
        std::uint64_t underlay = ~std::uint64_t(0);
        Framing framing;
        QSize dots;
        int cell = 0;
        bool operator==(const Key &o) const
        {
            return underlay == o.underlay && framing == o.framing && dots == o.dots && cell == o.cell;
        }
    };
    std::vector<quint8> values_;
    Key key_;
    int otsu_ = 128;
};
