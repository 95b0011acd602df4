#include "PictureLoader.h"

#include "BmpTopLeft.h"
#include "JpegHeader.h"
#include "PngTopLeft.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

#include <limits>

namespace {

// Decoding runs on the one user-interface thread, so what it costs is the editor's own.
// The most memory decoding one picture may take: an 8192 x 8192 picture in 32 bits, which
// covers the photos of phones and scanners that people trace over while keeping the
// editor's peak well under half a gigabyte on an ordinary desktop.
constexpr qint64 kMemoryBudget = qint64(256) << 20;
// The most pixels a reader may decode. One that stops at the kept rows decodes those rows
// whole: every width a JPEG can have is allowed. One that must decode every pixel is held
// to some 40 million, which Qt's slowest readers take about 0.7 s for on this kind of
// machine, under the second the window may stay frozen.
constexpr qint64 kRowDecodeBudget = qint64(65536) * 1188;
constexpr qint64 kWholeDecodeBudget = qint64(40) << 20;
constexpr int kMostScans = 100;
// A multi-scan JPEG is decoded whole at some 20 MB of file a second (a picture of noise at
// high quality on this kind of machine): no more than what takes under a second.
constexpr qint64 kMostMultiScanBytes = qint64(16) << 20;

void limitQtAllocations()
{
    // Qt refuses single images larger than its limit. It is set one megabyte above the
    // budget, so that it never refuses what the budget lets through yet still stops a
    // reader whose header said less than it then allocates.
    static const bool done = [] {
        QImageReader::setAllocationLimit(int(kMemoryBudget >> 20) + 1);
        return true;
    }();
    (void)done;
}

qint64 bytesOf(QSize size, QImage::Format format)
{
    // Not said before decoding, or not a format Qt knows: assume the largest common one.
    const bool known = format > QImage::Format_Invalid && format < QImage::NImageFormats;
    const int bits = known ? QImage::toPixelFormat(format).bitsPerPixel() : 32;
    return (qint64(size.width()) * bits + 7) / 8 * size.height();
}

QImage decodeWithQt(QImageReader &reader, QSize full, QSize kept)
{
    // Readers that can decode part of a file never build the rest of a huge picture.
    if (full.isValid() && full != kept && reader.supportsOption(QImageIOHandler::ClipRect))
        reader.setClipRect(QRect(QPoint(0, 0), kept));
    QImage image;
    if (!reader.read(&image))
        return {};
    return image;
}

// A GIF is decoded onto its whole logical screen, which may be far larger than its frames.
QSize gifScreen(QIODevice *device)
{
    const QByteArray head = device->peek(10);
    if (head.size() < 10)
        return {};
    return QSize(qFromLittleEndian<quint16>(head.constData() + 6),
                 qFromLittleEndian<quint16>(head.constData() + 8));
}

LoadedPicture read(QIODevice *device, QSize shown)
{
    limitQtAllocations();
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    QSize full = reader.size();
    if (format == "gif" && full.isValid())
        full = full.expandedTo(gifScreen(device));
    const QSize kept = full.isValid() ? full.boundedTo(shown) : shown;
    const qint64 keptBytes = qint64(kept.width()) * kept.height() * 4;

    // What decoding costs, in memory and in pixels decoded, from the header alone. Unless a
    // reader below knows better, Qt's decodes the whole picture. The format is asked only of
    // a header that was read: for one it could not read, Qt's JPEG reader reports whatever
    // its memory held.
    qint64 memory = full.isValid() ? bytesOf(full, reader.imageFormat()) : 0;
    qint64 pixels = qint64(full.width()) * full.height();
    bool rowsOnly = false;
    std::optional<PngHeader> png;
    std::optional<QByteArray> bmp;
    if (format == "png") {
        png = readPngHeader(device);
        if (!png)
            return {};
        // Row by row; an interlaced file keeps its kept rows whole until the last pass.
        rowsOnly = !png->interlaced;
        memory = keptBytes + qint64(full.width()) * 4 * (rowsOnly ? 1 : kept.height());
    } else if (format == "jpeg") {
        // Qt's reader stops at the kept rows, unless libjpeg must first buffer every
        // coefficient of a progressive or multi-scan file.
        const std::optional<JpegCost> jpeg = jpegCost(device);
        if (jpeg) {
            rowsOnly = jpeg->bufferedBytes == 0;
            memory = jpeg->bufferedBytes + keptBytes;
            // A normal progressive file has about ten scans; thousands of tiny ones make a
            // small file decode for minutes.
            if (jpeg->scans > kMostScans || (!rowsOnly && device->size() > kMostMultiScanBytes))
                memory = std::numeric_limits<qint64>::max();
        }
    } else if (format == "bmp" && (bmp = croppedBmp(device, shown))) {
        rowsOnly = true;
        memory = bmp->size() + keptBytes;
    }
    if (bmp)
        pixels = qint64(kept.width()) * kept.height(); // only the kept part of each row is read
    else if (rowsOnly)
        pixels = qint64(full.width()) * kept.height();
    LoadedPicture result;
    if (full.isValid()
        && (memory > kMemoryBudget || pixels > (rowsOnly ? kRowDecodeBudget : kWholeDecodeBudget))) {
        result.tooLarge = true;
        result.declared = full;
        return result;
    }

    QImage image;
    if (png) {
        image = readPngTopLeft(device, shown);
    } else if (bmp) {
        QBuffer cropped(&*bmp);
        cropped.open(QIODevice::ReadOnly);
        QImageReader small(&cropped, "bmp");
        image = decodeWithQt(small, kept, kept);
    } else {
        image = decodeWithQt(reader, full, kept);
    }
    if (image.isNull())
        return result;
    if (image.width() > shown.width() || image.height() > shown.height())
        image = image.copy(QRect(QPoint(0, 0), image.size().boundedTo(shown)));
    result.image = std::move(image);
    return result;
}

} // namespace

LoadedPicture LoadPicture(const QString &path, QSize shown)
{
    // Devices, pipes and folders are not picture files, whatever a link to them is called.
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return read(&file, shown);
}

LoadedPicture LoadPictureData(const QByteArray &data, QSize shown)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return read(&buffer, shown);
}
