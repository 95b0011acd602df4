#include "BmpTopLeft.h"

#include "KeepPosition.h"

#include <QIODevice>
#include <QtEndian>

#include <cstdlib>

namespace {

constexpr int kFileHeader = 14;
// Headers, bit masks and palette together are far smaller; anything beyond is no BMP
// written by a real program.
constexpr qint64 kLargestPixelOffset = 64 * 1024;

qint32 le32(const QByteArray &b, int at) { return qFromLittleEndian<qint32>(b.constData() + at); }
void setLe32(QByteArray &b, int at, qint32 v) { qToLittleEndian(v, b.data() + at); }

} // namespace

std::optional<QSize> bmpSize(QIODevice *device)
{
    const KeepPosition keep(device);
    if (!device->seek(0))
        return std::nullopt;
    const QByteArray head = device->peek(kFileHeader + 16);
    if (head.size() < kFileHeader + 16 || !head.startsWith("BM"))
        return std::nullopt;
    const qint32 infoSize = le32(head, 14);
    qint64 width = 0, height = 0;
    if (infoSize == 12) { // the old OS/2 header: 16-bit sizes
        width = qFromLittleEndian<quint16>(head.constData() + 18);
        height = qFromLittleEndian<quint16>(head.constData() + 20);
    } else if (infoSize >= 40) {
        width = le32(head, 18);
        height = std::abs(qint64(le32(head, 22)));
    }
    if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX)
        return std::nullopt;
    return QSize(int(width), int(height));
}

std::optional<QByteArray> croppedBmp(QIODevice *device, QSize kept)
{
    const KeepPosition keep(device);
    if (!device->seek(0))
        return std::nullopt;
    QByteArray head = device->peek(kFileHeader + 40);
    if (head.size() < kFileHeader + 40 || !head.startsWith("BM"))
        return std::nullopt;
    const qint64 pixelOffset = quint32(le32(head, 10));
    const qint32 infoSize = le32(head, 14);
    const qint32 width = le32(head, 18);
    const qint32 height = le32(head, 22);
    const int bits = qFromLittleEndian<quint16>(head.constData() + 28);
    const qint32 compression = le32(head, 30);
    // Uncompressed rows (0), or rows described by bit masks (3, 6), of a known depth.
    const bool plain = compression == 0 || compression == 3 || compression == 6;
    const bool depthKnown = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (infoSize < 40 || !plain || !depthKnown || width <= 0 || height == 0 || height == INT32_MIN
        || pixelOffset < kFileHeader + infoSize || pixelOffset > kLargestPixelOffset)
        return std::nullopt;

    const qint64 rows = std::abs(qint64(height));
    const QSize size = kept.boundedTo(QSize(width, int(rows)));
    if (size == QSize(width, int(rows)))
        return std::nullopt; // nothing to cut: Qt reads the file itself
    // Widths and heights up to 2^31 at 32 bits a pixel: a row's length fits 64 bits, but the
    // offset of a far row need not; the last row read must lie inside 64 bits and the file.
    const qint64 stride = (qint64(width) * bits + 31) / 32 * 4;
    const qint64 keptStride = (qint64(size.width()) * bits + 31) / 32 * 4;
    const bool bottomUp = height > 0;
    const qint64 firstRow = bottomUp ? rows - size.height() : 0;
    qint64 lastRowAt = 0;
    if (__builtin_mul_overflow(firstRow + size.height() - 1, stride, &lastRowAt)
        || __builtin_add_overflow(lastRowAt, pixelOffset + keptStride, &lastRowAt)
        || (!device->isSequential() && lastRowAt > device->size()))
        return std::nullopt;

    QByteArray out = device->read(pixelOffset);
    if (out.size() != pixelOffset)
        return std::nullopt;
    // Bottom-up rows (a positive height) keep the top of the picture at the end of the file.
    for (qint64 r = firstRow; r < firstRow + size.height(); ++r) {
        if (pixelOffset + r * stride > device->size() || !device->seek(pixelOffset + r * stride))
            return std::nullopt;
        const QByteArray row = device->read(keptStride);
        if (row.size() != keptStride)
            return std::nullopt;
        out += row;
    }
    setLe32(out, 2, qint32(out.size()));
    setLe32(out, 18, size.width());
    setLe32(out, 22, bottomUp ? size.height() : -size.height());
    setLe32(out, 34, qint32(keptStride * size.height()));
    return out;
}
