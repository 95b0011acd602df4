#include "BitBlt.h"

#include "PictureBox.h"

#include <algorithm>

bool BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
            std::uint32_t rop)
{
    if (!dest || !src || rop != SRCCOPY)
        return false;
    // Work in 64 bits: callers may pass any coordinates, and none may overflow.
    const qint64 dx0 = std::max<qint64>(x, 0);
    const qint64 dy0 = std::max<qint64>(y, 0);
    const qint64 dx1 = std::min<qint64>(qint64(x) + std::max(width, 0), dest->scaleWidth());
    const qint64 dy1 = std::min<qint64>(qint64(y) + std::max(height, 0), dest->scaleHeight());
    if (dx0 >= dx1 || dy0 >= dy1)
        return true;

    const QRgb background = toRgb(src->backColor());
    const qint64 sw = src->scaleWidth();
    const qint64 sh = src->scaleHeight();
    const QImage &from = src->image();
    QImage &to = dest->image();
    // Per row: background where the source has no pixels, one plain copy where it has.
    const qint64 sx0 = std::clamp<qint64>(dx0 - x + xSrc, 0, sw);
    const qint64 sx1 = std::clamp<qint64>(dx1 - x + xSrc, 0, sw);
    const qint64 copyFrom = sx0 + x - xSrc; // destination column of the first copied pixel
    const qint64 copyCount = std::max<qint64>(sx1 - sx0, 0);
    for (qint64 dy = dy0; dy < dy1; ++dy) {
        const qint64 sy = dy - y + ySrc;
        auto *out = reinterpret_cast<QRgb *>(to.scanLine(int(dy)));
        if (sy < 0 || sy >= sh || copyCount == 0) {
            std::fill(out + dx0, out + dx1, background);
            continue;
        }
        const auto *in = reinterpret_cast<const QRgb *>(from.constScanLine(int(sy)));
        std::fill(out + dx0, out + copyFrom, background);
        std::copy_n(in + sx0, copyCount, out + copyFrom);
        std::fill(out + copyFrom + copyCount, out + dx1, background);
    }
    return true;
}
