#include "threshold.h"

#include <QRect>

#include <algorithm>
#include <array>

int otsuThreshold(const std::vector<quint8> &values)
{
    std::array<quint64, 256> histogram{};
    for (quint8 v : values)
        ++histogram[v];
    const double total = double(values.size());
    double sumAll = 0;
    for (int i = 0; i < 256; ++i)
        sumAll += double(i) * double(histogram[size_t(i)]);
    // The split after value t that makes the variance between the two classes largest.
    double below = 0, sumBelow = 0, best = -1;
    int bestT = -1;
    for (int t = 0; t < 255; ++t) {
        below += double(histogram[size_t(t)]);
        sumBelow += double(t) * double(histogram[size_t(t)]);
        const double above = total - below;
        if (below == 0 || above == 0)
            continue;
        const double meanBelow = sumBelow / below, meanAbove = (sumAll - sumBelow) / above;
        const double between = below * above * (meanBelow - meanAbove) * (meanBelow - meanAbove);
        if (between > best) {
            best = between;
            bestT = t;
        }
    }
    if (bestT < 0)
        return 128;
    // Equal variances over a gap between two tones: the middle of the gap.
    int lastT = bestT;
    while (lastT + 1 < 255 && histogram[size_t(lastT + 1)] == 0)
        ++lastT;
    return (bestT + lastT) / 2 + 1;
}

namespace {

struct Spread
{
    int dx, dy, weight;
};
constexpr Spread kFloydSteinberg[] = {{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}};
constexpr Spread kAtkinson[] = {{1, 0, 1}, {2, 0, 1}, {-1, 1, 1}, {0, 1, 1}, {1, 1, 1}, {0, 2, 1}};

template<size_t N>
void diffuse(std::vector<int> &v, QSize size, int threshold, const Spread (&spread)[N], int divisor, std::vector<quint8> &out)
{
    const int w = size.width(), h = size.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int value = v[size_t(y) * size_t(w) + size_t(x)];
            const bool black = value < threshold * 16;
            out[size_t(y) * size_t(w) + size_t(x)] = black;
            const int error = value - (black ? 0 : 255 * 16);
            for (const Spread &s : spread) {
                const int nx = x + s.dx, ny = y + s.dy;
                if (nx >= 0 && nx < w && ny < h)
                    v[size_t(ny) * size_t(w) + size_t(nx)] += error * s.weight / divisor;
            }
        }
}

constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

} // namespace

int pictureThreshold(const std::vector<quint8> &values, QSize size, int cell, const QRect &covered)
{
    std::vector<quint8> picture;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if (covered.contains(QPoint(x * cell + cell / 2, y * cell + cell / 2)))
                picture.push_back(values[size_t(y) * size_t(size.width()) + size_t(x)]);
    return otsuThreshold(picture.empty() ? values : picture);
}

std::vector<quint8> blackDots(const std::vector<quint8> &values, QSize size, int threshold, Dither dither, bool invert)
{
    const int w = std::max(size.width(), 0), h = std::max(size.height(), 0);
    std::vector<quint8> out(size_t(w) * size_t(h), 0);
    if (size.isEmpty() || values.size() < size_t(w) * size_t(h))
        return out;
    switch (dither) {
    case Dither::None:
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                out[size_t(y) * size_t(w) + size_t(x)] = values[size_t(y) * size_t(w) + size_t(x)] < threshold;
        break;
    case Dither::Bayer4:
        // Sixteen thresholds spread evenly around the chosen one: a flat grey of value v
        // gives the share of black dots that v is of 256. Pure white stays white and pure
        // black black, however far the chosen threshold moves them.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                out[size_t(y) * size_t(w) + size_t(x)] = values[size_t(y) * size_t(w) + size_t(x)]
                                                          < std::clamp(threshold - 128 + kBayer[y % 4][x % 4] * 16 + 8, 1, 255);
        break;
    case Dither::FloydSteinberg:
    case Dither::Atkinson: {
        // In sixteenths, so that the spread errors stay whole numbers.
        std::vector<int> v(values.begin(), values.begin() + qsizetype(w) * h);
        for (int &x : v)
            x *= 16;
        if (dither == Dither::FloydSteinberg)
            diffuse(v, size, threshold, kFloydSteinberg, 16, out);
        else
            diffuse(v, size, threshold, kAtkinson, 8, out);
        break;
    }
    }
    if (invert)
        for (quint8 &black : out)
            black = !black;
    return out;
}
