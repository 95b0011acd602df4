// Painting a picture surface on a screen scaled by a fraction: every block of the grid a whole
// number of device pixels wide, its grid line one.
#include "PictureBox.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

int deviceEdge(int k, int length, int pitch, qreal ratio)
{
    // The blocks share out the device pixels the surface covers whole as evenly as they
    // can: every block gets the same number, or one more.
    const qint64 blocks = (length + pitch - 1) / pitch;
    const qint64 devices = qint64(length * ratio + 1e-9);
    if (blocks <= 0)
        return 0;
    return int((2 * qint64(k) * devices + blocks) / (2 * blocks));
}

int surfacePixel(int d, int length, int pitch, qreal ratio)
{
    if (length <= 0)
        return 0;
    const int blocks = (length + pitch - 1) / pitch;
    if (d >= deviceEdge(blocks, length, pitch, ratio))
        return length - 1; // a device pixel the surface covers only in part
    int k = std::min(int(d / (pitch * ratio)), blocks - 1);
    while (k > 0 && deviceEdge(k, length, pitch, ratio) > d)
        --k;
    while (k + 1 < blocks && deviceEdge(k + 1, length, pitch, ratio) <= d)
        ++k;
    const int start = deviceEdge(k, length, pitch, ratio);
    const int span = deviceEdge(k + 1, length, pitch, ratio) - start;
    const int inBlock = std::min(pitch, length - k * pitch);
    const int offset = d - start;
    int pixel = k * pitch;
    if (offset > 0 && inBlock > 1 && span > 1)
        pixel += 1 + (offset - 1) * (inBlock - 1) / (span - 1);
    return std::min(pixel, length - 1);
}

void PictureBox::updateMaps(qreal ratio)
{
    const QSize size(width_, height_);
    if (maps_.ratio == ratio && maps_.size == size && maps_.pitch == pitch_)
        return;
    maps_.ratio = ratio;
    maps_.size = size;
    maps_.pitch = pitch_;
    const auto build = [&](int length, std::vector<int> &from, std::vector<int> &to) {
        const int devices = int(std::ceil(length * ratio - 1e-9));
        from.resize(size_t(std::max(devices, 0)));
        // (The last may be covered only in part; it shows the last surface pixel.)
        for (int d = 0; d < devices; ++d)
            from[size_t(d)] = surfacePixel(d, length, pitch_, ratio);
        // The first device pixel of every surface pixel, and one past the last at the end.
        to.assign(size_t(length) + 1, devices);
        for (int d = devices - 1; d >= 0; --d)
            to[size_t(from[size_t(d)])] = d;
        for (int x = length - 1; x >= 0; --x)
            to[size_t(x)] = std::min(to[size_t(x)], to[size_t(x) + 1]);
    };
    build(width_, maps_.fromColumn, maps_.toColumn);
    build(height_, maps_.fromRow, maps_.toRow);
}

void PictureBox::paintScaled(QPainter &p, const QRect &rect, qreal ratio)
{
    updateMaps(ratio);
    const int devicesWide = int(maps_.fromColumn.size()), devicesHigh = int(maps_.fromRow.size());
    const int x0 = std::max(0, maps_.toColumn[size_t(rect.left())] - 1);
    const int x1 = std::min(devicesWide, maps_.toColumn[size_t(rect.right()) + 1] + 1);
    const int y0 = std::max(0, maps_.toRow[size_t(rect.top())] - 1);
    const int y1 = std::min(devicesHigh, maps_.toRow[size_t(rect.bottom()) + 1] + 1);
    if (x0 >= x1 || y0 >= y1)
        return;
    const int w = x1 - x0, h = y1 - y0;
    if (device_.width() < w || device_.height() < h)
        device_ = QImage(QSize(w, h).expandedTo(device_.size()), QImage::Format_RGB32);
    // Rows of device pixels showing the same surface row are copies of the first of them.
    int previous = -1;
    for (int y = 0; y < h; ++y) {
        auto *out = reinterpret_cast<QRgb *>(device_.scanLine(y));
        const int source = maps_.fromRow[size_t(y0 + y)];
        if (source == previous) {
            std::memcpy(out, device_.constScanLine(y - 1), size_t(w) * 4);
            continue;
        }
        previous = source;
        const auto *in = reinterpret_cast<const QRgb *>(image_.constScanLine(source));
        const int *from = maps_.fromColumn.data() + x0;
        for (int x = 0; x < w; ++x)
            out[x] = in[from[x]];
    }
    // In device pixels from here: undo the painter's scaling.
    p.save();
    p.scale(1 / ratio, 1 / ratio);
    p.drawImage(QPoint(x0, y0), device_, QRect(0, 0, w, h));
    const auto deviceX = [this](int x) { return maps_.toColumn[size_t(std::clamp(x, 0, width_))]; };
    const auto deviceY = [this](int y) { return maps_.toRow[size_t(std::clamp(y, 0, height_))]; };
    drawMarks(p, deviceX, deviceY, devicesHigh);
    p.restore();
}

