#include "colours.h"

#include "dotImage.h"

#include <algorithm>
#include <cmath>

namespace {

float linear(int channel)
{
    const float c = channel / 255.0f;
    return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

// sRGB channel values to linear light, once for all 256.
const std::array<float, 256> &linearTable()
{
    static const std::array<float, 256> table = [] {
        std::array<float, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[size_t(i)] = linear(i);
        return t;
    }();
    return table;
}

float distance(const Lab &x, const Lab &y)
{
    const float dL = x.L - y.L, da = x.a - y.a, db = x.b - y.b;
    return dL * dL + da * da + db * db;
}

struct Spread
{
    int dx, dy;
    float weight;
};
constexpr Spread kFloydSteinberg[] = {{1, 0, 7 / 16.0f}, {-1, 1, 3 / 16.0f}, {0, 1, 5 / 16.0f}, {1, 1, 1 / 16.0f}};
constexpr Spread kAtkinson[] = {{1, 0, 1 / 8.0f}, {2, 0, 1 / 8.0f}, {-1, 1, 1 / 8.0f}, {0, 1, 1 / 8.0f}, {1, 1, 1 / 8.0f}, {0, 2, 1 / 8.0f}};
constexpr float kOrderedSpread = 0.3f;
constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

} // namespace

Lab linearToOklab(float r, float g, float b)
{
    const float l = std::cbrt(0.4122214708f * r + 0.5363325363f * g + 0.0514459929f * b);
    const float m = std::cbrt(0.2119034982f * r + 0.6806995451f * g + 0.1073969566f * b);
    const float s = std::cbrt(0.0883024619f * r + 0.2817188376f * g + 0.6299787005f * b);
    return Lab{0.2104542553f * l + 0.7936177850f * m - 0.0040720468f * s,
               1.9779984951f * l - 2.4285922050f * m + 0.4505937099f * s,
               0.0259040371f * l + 0.7827717662f * m - 0.8086757660f * s};
}

Lab toOklab(QRgb colour)
{
    const auto &t = linearTable();
    return linearToOklab(t[size_t(qRed(colour))], t[size_t(qGreen(colour))], t[size_t(qBlue(colour))]);
}

const std::array<Lab, 9> &squareColours()
{
    static const std::array<Lab, 9> colours = [] {
        std::array<Lab, 9> c{};
        for (size_t i = 0; i < c.size(); ++i)
            c[i] = toOklab(dots::kSquares[i].pixel);
        return c;
    }();
    return colours;
}

int nearestSquare(const Lab &colour, const Lab *palette, int count)
{
    int best = 0;
    for (int i = 1; i < count; ++i)
        if (distance(colour, palette[i]) < distance(colour, palette[best]))
            best = i;
    return best;
}

std::vector<Lab> cellColours(const QImage &samples, QSize dots, int cell)
{
    const int w = dots.width(), h = dots.height();
    std::vector<Lab> out(size_t(std::max(w, 0)) * size_t(std::max(h, 0)), Lab{1, 0, 0});
    if (samples.isNull() || cell <= 0)
        return out;
    const QImage image = samples.format() == QImage::Format_RGB32 || samples.format() == QImage::Format_ARGB32
                             ? samples
                             : samples.convertToFormat(QImage::Format_RGB32);
    const auto &t = linearTable();
    std::vector<std::array<double, 3>> sums(size_t(std::max(w, 0)));
    for (int y = 0; y < h; ++y) {
        std::fill(sums.begin(), sums.end(), std::array<double, 3>{0, 0, 0});
        int rows = 0;
        for (int sy = y * cell; sy < (y + 1) * cell && sy < image.height(); ++sy, ++rows) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(sy));
            for (int x = 0; x < w; ++x) {
                std::array<double, 3> &s = sums[size_t(x)];
                for (int sx = x * cell; sx < std::min((x + 1) * cell, image.width()); ++sx) {
                    s[0] += t[size_t(qRed(line[sx]))];
                    s[1] += t[size_t(qGreen(line[sx]))];
                    s[2] += t[size_t(qBlue(line[sx]))];
                }
            }
        }
        for (int x = 0; x < w; ++x) {
            const int columns = std::max(0, std::min((x + 1) * cell, image.width()) - x * cell);
            const double n = double(columns) * rows;
            if (n > 0) {
                const std::array<double, 3> &s = sums[size_t(x)];
                out[size_t(y) * size_t(w) + size_t(x)] = linearToOklab(float(s[0] / n), float(s[1] / n), float(s[2] / n));
            }
        }
    }
    return out;
}

std::vector<Lab> oklabOf(const std::vector<std::array<float, 3>> &linear)
{
    std::vector<Lab> out;
    out.reserve(linear.size());
    for (const auto &c : linear)
        out.push_back(linearToOklab(c[0], c[1], c[2]));
    return out;
}

QImage squaresFrom(const std::vector<Lab> &values, QSize size, Dither dither)
{
    static const std::vector<Lab> palette(squareColours().begin(), squareColours().end());
    static const std::vector<QRgb> pixels = [] {
        std::vector<QRgb> p;
        for (const dots::Square &s : dots::kSquares)
            p.push_back(s.pixel);
        return p;
    }();
    return squaresFrom(values, size, dither, palette, pixels);
}

QImage squaresFrom(const std::vector<Lab> &values, QSize size, Dither dither, const std::vector<Lab> &palette,
                   const std::vector<QRgb> &pixels)
{
    QImage out = dots::white(size);
    const int w = size.width(), h = size.height();
    if (size.isEmpty() || values.size() < size_t(w) * size_t(h) || palette.empty())
        return out;
    std::vector<Lab> v(values.begin(), values.begin() + qsizetype(w) * h);
    const int count = int(palette.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Lab c = v[size_t(y) * size_t(w) + size_t(x)];
            // Ordered: the lightness moved about its own in sixteen steps of the matrix, as far
            // as some of the way between two neighbouring squares' lightness either side.
            if (dither == Dither::Bayer4)
                c.L += ((kBayer[y % 4][x % 4] + 0.5f) / 16.0f - 0.5f) * kOrderedSpread;
            const int square = nearestSquare(c, palette.data(), count);
            dots::put(out, x, y, pixels[size_t(square)]);
            if (dither != Dither::FloydSteinberg && dither != Dither::Atkinson)
                continue;
            const Lab &got = palette[size_t(square)];
            const Lab error{c.L - got.L, c.a - got.a, c.b - got.b};
            const auto spread = [&](const auto &weights) {
                for (const Spread &s : weights) {
                    const int nx = x + s.dx, ny = y + s.dy;
                    if (nx < 0 || nx >= w || ny >= h)
                        continue;
                    Lab &n = v[size_t(ny) * size_t(w) + size_t(nx)];
                    n.L += error.L * s.weight;
                    n.a += error.a * s.weight;
                    n.b += error.b * s.weight;
                }
            };
            if (dither == Dither::FloydSteinberg)
                spread(kFloydSteinberg);
            else
                spread(kAtkinson);
        }
    return out;
}
