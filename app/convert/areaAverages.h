#pragma once

#include <QRect>
#include <QSize>

#include <array>
#include <vector>

// Fitted, filled or framed, dots are averaged over a canvas of this many pixels a side of a
// dot, whatever the magnification: plenty for an average.
constexpr int kSamplesPerDot = 8;

// The brightness (and, when asked, the colour in linear light) of every dot of a `dots`
// picture of `cell` x `cell` pixel cells, over a picture of `picture` pixels laid on `target`
// of that canvas: each dot the average of exactly the area of the picture its cell covers,
// the rest of the cell white. Rows are added one at a time, in any order, and nothing of
// them is kept: a reader can decode straight into it. Every weight and sum is a whole number,
// so that the same rows give the same averages to the bit whatever order they come in.
class AreaAverages
{
public:
    AreaAverages(QSize picture, QRect target, QSize dots, int cell, bool colour);

    // Whether row `y` of the picture lies on the canvas at all.
    bool wanted(int y) const;
    // Row `y`, `picture.width()` opaque pixels as 0xAARRGGBB.
    void addRow(int y, const quint32 *pixels);

    // 0 (black) to 255 (white) by the luma weights of television (Rec. 601), row by row.
    std::vector<quint8> values() const;
    // Red, green and blue in linear light, 0 to 1, row by row; empty unless `colour`.
    std::vector<std::array<float, 3>> linear() const;

private:
    struct Span
    {
        int first = 0; // index into weights_
        int count = 0;
        int dot = 0; // the first dot it covers
    };
    // The dots along one side each pixel covers, and how much of each.
    static void spans(int pixels, int targetStart, int targetLength, int dotsAlong, int cell, std::vector<Span> &spans,
                      std::vector<quint64> &weights, std::vector<quint64> &covered);

    QSize picture_, dots_;
    bool colour_;
    quint64 area_ = 0; // of a cell, in the units of the weights
    std::vector<Span> xSpans_, ySpans_;
    // Across, when no pixel covers more than two dots (a picture reduced, as photos are): each
    // pixel's first dot and its two weights, the second 0 where it covers one; the pixels on
    // the canvas from xFrom_ to xTo_.
    bool twoAtMost_ = false;
    std::vector<int> xDot_;
    std::vector<quint32> xFirst_, xSecond_;
    int xFrom_ = 0, xTo_ = 0;
    quint32 pixelWidth_ = 0; // a pixel's width in the weights' units
    // Adds a row across, pixel by pixel, however many dots each covers.
    void addAcross(const quint32 *pixels);
    std::vector<quint64> xWeights_, yWeights_, xCovered_, yCovered_;
    std::vector<quint64> row_, luma_;                 // per dot column; per dot
    std::vector<std::array<quint64, 3>> rowLinear_, linear_;
};
