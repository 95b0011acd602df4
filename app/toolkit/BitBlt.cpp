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

    const QRgb background = 0xFF000000u | (static_cast<quint32>(src->backColor()) & 0xFFFFFFu);
    const qint64 sw = src->scaleWidth();
    const qint64 sh = src->scaleHeight();
    const QImage &from = src->image();
    QImage &to = dest->image();
    for (qint64 dy = dy0; dy < dy1; ++dy) {
        const qint64 sy = dy - y + ySrc;
        auto *out = reinterpret_cast<QRgb *>(to.scanLine(int(dy)));
        const auto *in = (sy >= 0 && sy < sh)
                             ? reinterpret_cast<const QRgb *>(from.constScanLine(int(sy)))
                             : nullptr;
        for (qint64 dx = dx0; dx < dx1; ++dx) {
            const qint64 sx = dx - x + xSrc;
            out[dx] = (in && sx >= 0 && sx < sw) ? in[sx] : background;
        }
    }
    return true;
}
