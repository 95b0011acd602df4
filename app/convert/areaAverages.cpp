#include "areaAverages.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr quint64 kWhiteLuma = 255000; // 299 + 587 + 114 = 1000 parts of 255
constexpr quint64 kLinearOne = 65535;

quint32 luma(quint32 p) { return 299 * ((p >> 16) & 0xFF) + 587 * ((p >> 8) & 0xFF) + 114 * (p & 0xFF); }

// sRGB channel values to linear light in 65,535 steps, once for all 256.
const std::array<quint32, 256> &linearTable()
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            t[size_t(i)] = quint32(std::lround((c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4)) * kLinearOne));
        }
        return t;
    }();
    return table;
}

} // namespace

void AreaAverages::spans(int pixels, int targetStart, int targetLength, int dotsAlong, int cell, std::vector<Span> &out,
                         std::vector<quint64> &weights, std::vector<quint64> &covered)
{
    // In units of 1/`pixels` of a canvas pixel, every edge is a whole number: pixel p of the
    // picture runs from (targetStart * pixels + p * targetLength), a dot d from d * cell * pixels.
    const qint64 unit = qint64(cell) * pixels;
    const qint64 canvas = unit * dotsAlong;
    out.assign(size_t(pixels), Span{});
    covered.assign(size_t(dotsAlong), 0);
    weights.clear();
    for (int p = 0; p < pixels; ++p) {
        const qint64 from = qint64(targetStart) * pixels + qint64(p) * targetLength;
        const qint64 to = from + targetLength;
        const qint64 a = std::max<qint64>(from, 0), b = std::min(to, canvas);
        if (a >= b)
            continue;
        Span &s = out[size_t(p)];
        s.first = int(weights.size());
        s.dot = int(a / unit);
        for (qint64 d = s.dot; d * unit < b; ++d) {
            const qint64 w = std::min(b, (d + 1) * unit) - std::max(a, d * unit);
            weights.push_back(quint64(w));
            covered[size_t(d)] += quint64(w);
        }
        s.count = int(weights.size()) - s.first;
    }
}

AreaAverages::AreaAverages(QSize picture, QRect target, QSize dots, int cell, bool colour)
    : picture_(picture), dots_(dots), colour_(colour)
{
    if (picture.isEmpty() || dots.isEmpty() || cell <= 0 || target.isEmpty())
        picture_ = QSize(0, 0);
    spans(picture_.width(), target.left(), target.width(), dots.width(), cell, xSpans_, xWeights_, xCovered_);
    spans(picture_.height(), target.top(), target.height(), dots.height(), cell, ySpans_, yWeights_, yCovered_);
    area_ = quint64(cell) * quint64(picture_.width()) * quint64(cell) * quint64(picture_.height());
    twoAtMost_ = std::all_of(xSpans_.begin(), xSpans_.end(), [](const Span &s) { return s.count <= 2; })
                 && std::all_of(xWeights_.begin(), xWeights_.end(), [](quint64 w) { return w <= 0xFFFFFFFFu; });
    if (twoAtMost_) {
        pixelWidth_ = quint32(std::min<qint64>(target.width(), 0xFFFFFFFF));
        xFrom_ = picture_.width();
        for (int x = 0; x < picture_.width(); ++x) {
            const Span &s = xSpans_[size_t(x)];
            xDot_.push_back(s.dot);
            xFirst_.push_back(s.count > 0 ? quint32(xWeights_[size_t(s.first)]) : 0);
            xSecond_.push_back(s.count > 1 ? quint32(xWeights_[size_t(s.first + 1)]) : 0);
            if (s.count > 0) {
                xFrom_ = std::min(xFrom_, x);
                xTo_ = x + 1;
            }
        }
    }
    const size_t all = size_t(std::max(dots.width(), 0)) * size_t(std::max(dots.height(), 0));
    row_.assign(size_t(std::max(dots.width(), 0)) + 1, 0);
    luma_.assign(all, 0);
    if (colour_) {
        rowLinear_.assign(row_.size(), {0, 0, 0});
        linear_.assign(all, {0, 0, 0});
    }
}

bool AreaAverages::wanted(int y) const { return y >= 0 && y < picture_.height() && ySpans_[size_t(y)].count > 0; }

void AreaAverages::addAcross(const quint32 *pixels)
{
    for (int x = 0; x < picture_.width(); ++x) {
        const Span &s = xSpans_[size_t(x)];
        if (s.count == 0)
            continue;
        const quint64 l = luma(pixels[x]);
        const quint64 *weight = xWeights_.data() + s.first;
        for (int k = 0; k < s.count; ++k)
            row_[size_t(s.dot + k)] += weight[k] * l;
    }
}

void AreaAverages::addRow(int y, const quint32 *pixels)
{
    if (!wanted(y))
        return;
    const int w = dots_.width();
    std::fill(row_.begin(), row_.end(), 0);
    // Across first: the row's share of each dot column, weighted by how much of it each pixel
    // covers.
    if (twoAtMost_) {
        // Most pixels of a reduced photo lie wholly inside one dot and weigh a pixel's whole
        // width: those are summed plain and weighed once a dot. A pixel on a dot's edge gives
        // the rest of itself to the next dot (one past the last takes nothing).
        quint64 *sums = row_.data();
        int dot = xFrom_ < xTo_ ? xDot_[size_t(xFrom_)] : 0;
        quint64 plain = 0, weighed = 0;
        for (int x = xFrom_; x < xTo_; ++x) {
            const int d = xDot_[size_t(x)];
            if (d != dot) {
                sums[dot] += plain * pixelWidth_ + weighed;
                plain = weighed = 0;
                dot = d;
            }
            const quint32 l = luma(pixels[x]);
            const quint32 first = xFirst_[size_t(x)];
            if (first == pixelWidth_) {
                plain += l;
            } else {
                weighed += quint64(first) * l;
                sums[d + 1] += quint64(xSecond_[size_t(x)]) * l;
            }
        }
        sums[dot] += plain * pixelWidth_ + weighed;
    } else {
        addAcross(pixels);
    }
    const Span &down = ySpans_[size_t(y)];
    for (int k = 0; k < down.count; ++k) {
        const quint64 weight = yWeights_[size_t(down.first + k)];
        quint64 *to = luma_.data() + size_t(down.dot + k) * size_t(w);
        for (int x = 0; x < w; ++x)
            to[x] += weight * row_[size_t(x)];
    }
    if (!colour_)
        return;
    const auto &table = linearTable();
    std::fill(rowLinear_.begin(), rowLinear_.end(), std::array<quint64, 3>{0, 0, 0});
    for (int x = 0; x < picture_.width(); ++x) {
        const Span &s = xSpans_[size_t(x)];
        const quint32 p = pixels[x];
        const quint64 r = table[(p >> 16) & 0xFF], g = table[(p >> 8) & 0xFF], b = table[p & 0xFF];
        for (int k = 0; k < s.count; ++k) {
            const quint64 weight = xWeights_[size_t(s.first + k)];
            std::array<quint64, 3> &to = rowLinear_[size_t(s.dot + k)];
            to[0] += weight * r;
            to[1] += weight * g;
            to[2] += weight * b;
        }
    }
    for (int k = 0; k < down.count; ++k) {
        const quint64 weight = yWeights_[size_t(down.first + k)];
        std::array<quint64, 3> *to = linear_.data() + size_t(down.dot + k) * size_t(w);
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                to[x][size_t(c)] += weight * rowLinear_[size_t(x)][size_t(c)];
    }
}

std::vector<quint8> AreaAverages::values() const
{
    std::vector<quint8> out(luma_.size(), 255);
    if (area_ == 0)
        return out;
    const int w = dots_.width();
    for (size_t i = 0; i < out.size(); ++i) {
        // What the picture does not cover of the cell is white.
        const quint64 covered = xCovered_[i % size_t(w)] * yCovered_[i / size_t(w)];
        const quint64 sum = luma_[i] + (area_ - covered) * kWhiteLuma;
        out[i] = quint8((sum + area_ * 500) / (area_ * 1000));
    }
    return out;
}

std::vector<std::array<float, 3>> AreaAverages::linear() const
{
    std::vector<std::array<float, 3>> out(linear_.size(), {1, 1, 1});
    if (area_ == 0)
        return out;
    const int w = dots_.width();
    const double whole = double(area_) * kLinearOne;
    for (size_t i = 0; i < out.size(); ++i) {
        const quint64 covered = xCovered_[i % size_t(w)] * yCovered_[i / size_t(w)];
        for (size_t c = 0; c < 3; ++c)
            out[i][c] = float(double(linear_[i][c] + (area_ - covered) * kLinearOne) / whole);
    }
    return out;
}
