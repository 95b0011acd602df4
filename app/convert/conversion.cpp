#include "conversion.h"

#include "areaAverages.h"
#include "cellAverages.h"
#include "dotImage.h"
#include "underlay.h"

#include <algorithm>
#include <array>
#include <cmath>


Conversion::Result Conversion::run(Underlay &underlay, QSize dots, int dotSize, const ConvertSettings &s)
{
    const Framing framing = underlay.hasWhole() ? s.framing : Framing{};
    // Lying as loaded, the underlay lies at the canvas's own scale.
    const int cell = framing.placement == Placement::AsLoaded ? std::max(dotSize, 1) : kSamplesPerDot;
    const Key key{underlay.generation(), framing, dots, cell, s.sharpen};
    if (!(key == key_)) {
        haveColours_ = false;
        samples_ = QImage();
        // Fitted, filled or framed, each dot is averaged over exactly what its cell covers of
        // the whole picture, as the command line does; sharpened or as loaded, over the
        // samples of the canvas.
        if (framing.placement == Placement::AsLoaded || s.sharpen || !average(underlay, dots, cell, framing, s.colour)) {
            samples_ = underlay.samples(dots, cell, framing);
            if (s.sharpen)
                samples_ = sharpened(samples_, std::max(cell / 2, 1));
            values_ = cellAverages(samples_, dots, cell);
        }
        otsu_ = pictureThreshold(values_, dots, cell, underlay.covered(dots, cell, framing));
        key_ = key;
    }
    Result r;
    r.threshold = s.automatic ? otsu_ : s.threshold;
    if (s.colour) {
        // The colours averaged only when asked for: most conversions are black and white.
        if (!haveColours_) {
            if (samples_.isNull())
                average(underlay, dots, cell, framing, true);
            else
                colours_ = cellColours(samples_, dots, cell);
            haveColours_ = true;
        }
        std::vector<Lab> labs = colours_;
        if (s.brightness != 0 || s.contrast != 0)
            for (Lab &c : labs)
                c.L = adjusted(int(std::lround(c.L * 255)), s.brightness, s.contrast) / 255.0f;
        r.dots = squaresFrom(labs, dots, s.dither);
        if (s.invert)
            for (int y = 0; y < r.dots.height(); ++y)
                for (int x = 0; x < r.dots.width(); ++x)
                    if (dots::squareOf(dots::at(r.dots, x, y)) < 2)
                        dots::set(r.dots, x, y, !dots::isBlack(r.dots, x, y));
        return r;
    }
    if (s.brightness == 0 && s.contrast == 0) {
        r.dots = dotsFrom(values_, dots, r.threshold, s.dither, s.invert);
        return r;
    }
    std::vector<quint8> values(values_.size());
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = quint8(adjusted(values_[i], s.brightness, s.contrast));
    r.dots = dotsFrom(values, dots, r.threshold, s.dither, s.invert);
    return r;
}

bool Conversion::average(const Underlay &underlay, QSize dots, int cell, const Framing &framing, bool colour)
{
    const QImage whole = underlay.whole();
    if (whole.isNull())
        return false;
    AreaAverages averages(whole.size(), underlay.target(dots, cell, framing), dots, cell, colour);
    for (int y = 0; y < whole.height(); ++y)
        if (averages.wanted(y))
            averages.addRow(y, reinterpret_cast<const quint32 *>(whole.constScanLine(y)));
    values_ = averages.values();
    if (colour) {
        colours_ = oklabOf(averages.linear());
        haveColours_ = true;
    }
    return true;
}

QImage dotsFrom(const std::vector<quint8> &values, QSize size, int threshold, Dither dither, bool invert)
{
    const std::vector<quint8> black = blackDots(values, size, threshold, dither, invert);
    QImage out = dots::white(size);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if (black[size_t(y) * size_t(size.width()) + size_t(x)])
                dots::set(out, x, y, true);
    return out;
}

int adjusted(int v, int brightness, int contrast)
{
    const int c = std::clamp(contrast, -100, 99);
    const double factor = c < 0 ? (100.0 + c) / 100.0 : 100.0 / (100.0 - c);
    const double out = (v - 127.5) * factor + 127.5 + std::clamp(brightness, -100, 100) * 1.28;
    return std::clamp(int(std::lround(out)), 0, 255);
}

QImage sharpened(const QImage &samples, int radius)
{
    const QImage in = samples.convertToFormat(QImage::Format_RGB32);
    const int w = in.width(), h = in.height();
    if (w == 0 || h == 0 || radius <= 0)
        return in;
    // The average about each pixel by a box, rows then columns, from running sums.
    std::vector<std::array<int, 3>> across(size_t(w) * size_t(h)), around(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(in.constScanLine(y));
        std::array<int, 3> sum{0, 0, 0};
        int n = 0;
        for (int x = -radius; x < w; ++x) {
            if (x + radius < w) {
                const QRgb p = line[x + radius];
                sum[0] += qRed(p), sum[1] += qGreen(p), sum[2] += qBlue(p), ++n;
            }
            if (x - radius - 1 >= 0) {
                const QRgb p = line[x - radius - 1];
                sum[0] -= qRed(p), sum[1] -= qGreen(p), sum[2] -= qBlue(p), --n;
            }
            if (x >= 0)
                across[size_t(y) * size_t(w) + size_t(x)] = {sum[0] / n, sum[1] / n, sum[2] / n};
        }
    }
    for (int x = 0; x < w; ++x) {
        std::array<int, 3> sum{0, 0, 0};
        int n = 0;
        for (int y = -radius; y < h; ++y) {
            if (y + radius < h) {
                const auto &p = across[size_t(y + radius) * size_t(w) + size_t(x)];
                sum[0] += p[0], sum[1] += p[1], sum[2] += p[2], ++n;
            }
            if (y - radius - 1 >= 0) {
                const auto &p = across[size_t(y - radius - 1) * size_t(w) + size_t(x)];
                sum[0] -= p[0], sum[1] -= p[1], sum[2] -= p[2], --n;
            }
            if (y >= 0)
                around[size_t(y) * size_t(w) + size_t(x)] = {sum[0] / n, sum[1] / n, sum[2] / n};
        }
    }
    QImage out(in.size(), QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(in.constScanLine(y));
        auto *to = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const auto &m = around[size_t(y) * size_t(w) + size_t(x)];
            const auto push = [](int v, int mean) { return std::clamp(2 * v - mean, 0, 255); };
            to[x] = qRgb(push(qRed(line[x]), m[0]), push(qGreen(line[x]), m[1]), push(qBlue(line[x]), m[2]));
        }
    }
    return out;
}
