#include "PictureLoader.h"

#include "BmpTopLeft.h"
#include "DecodeBudget.h"
#include "GifFirstFrame.h"
#include "JpegReader.h"
#include "PictureFile.h"
#include "PngReader.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <limits>
#include <memory>

namespace {

void limitQtAllocations()
{
    // Qt refuses single images larger than its limit. It is set one megabyte above the
    // budget, so that it never refuses what the budget lets through yet still stops a
    // reader whose header said less than it then allocates.
    static const bool done = [] {
        QImageReader::setAllocationLimit(int(budget::kMemory >> 20) + 1);
        return true;
    }();
    (void)done;
}

// The size the whole picture is kept at to cover `shown` (the largest canvas) when fitted
// or filled: its shorter side no longer than the longer side of `shown`, and its longer
// side at most kWholeAspectCap times that.
QSize wholeSize(QSize full, QSize shown)
{
    const double side = std::max(shown.width(), shown.height());
    const double shorter = std::min(full.width(), full.height());
    const double longer = std::max(full.width(), full.height());
    const double s = std::min({1.0, side / shorter, side * budget::kWholeAspectCap / longer});
    return QSize(std::max(1, int(full.width() * s + 0.5)), std::max(1, int(full.height() * s + 0.5)));
}

// Opaque, over white, as the canvas shows a transparent underlay.
QImage overWhite(QImage image)
{
    if (!image.hasAlphaChannel())
        return image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    QPainter p(&opaque);
    p.drawImage(0, 0, image);
    p.end();
    return opaque;
}

QImage reducedWhole(QImage image, QSize full, QSize shown)
{
    if (image.isNull())
        return image;
    // Reduced first and laid over white after, so that no second picture of the full size
    // is ever made; premultiplied in place, as smooth scaling needs.
    if (image.hasAlphaChannel())
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
    const QSize target = wholeSize(full, shown);
    if (image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return overWhite(std::move(image));
}

QImage topLeft(const QImage &image, QSize shown)
{
    if (image.width() <= shown.width() && image.height() <= shown.height())
        return image;
    return image.copy(QRect(QPoint(0, 0), image.size().boundedTo(shown)));
}

LoadedPicture refused(LoadTrouble why, QSize declared = {})
{
    LoadedPicture p;
    p.trouble = why;
    p.declared = declared;
    return p;
}

// a x b, or the largest 64-bit number where that is larger: sizes a header claims can
// multiply beyond 64 bits.
qint64 product(qint64 a, qint64 b)
{
    qint64 p = 0;
    return __builtin_mul_overflow(a, b, &p) ? std::numeric_limits<qint64>::max() : p;
}

// A file no larger than its picture can need, plus what may be skipped: anything beyond is
// padding, and reading it would cost time for nothing.
bool fitsItsPicture(qint64 fileBytes, qint64 pictureBytes)
{
    return pictureBytes >= fileBytes / 2 || fileBytes <= 2 * pictureBytes + budget::kMostMetadataBytes + (qint64(1) << 20);
}

QImage decodeWithQt(QIODevice *device, const char *format)
{
    QImageReader reader(device, format);
    reader.setDecideFormatFromContent(false);
    QImage image;
    if (!reader.read(&image))
        return {};
    return image;
}

LoadedPicture readJpeg(QIODevice *device, QSize shown)
{
    const JpegInfo info = readJpegInfo(device);
    if (info.trouble == JpegTrouble::TooMuchMetadata)
        return refused(LoadTrouble::TooMuchMetadata);
    if (info.trouble != JpegTrouble::None)
        return refused(LoadTrouble::NotAPicture);
    const QSize full = info.shown();
    const qint64 pixels = qint64(full.width()) * full.height();
    if (!fitsItsPicture(device->size(), product(3, pixels)))
        return refused(LoadTrouble::FileTooLarge, full);
    const bool multiScan = info.bufferedBytes > 0;
    if (multiScan && device->size() > budget::kMostMultiScanBytes)
        return refused(LoadTrouble::FileTooLarge, full);

    const QSize kept = full.boundedTo(shown);
    const qint64 keptBytes = qint64(kept.width()) * kept.height() * 4;
    // A single scan is decoded a few rows at a time, down to the last row needed (all of
    // them when the file is to be shown turned); a multi-scan one from its whole buffer.
    const bool turned = info.orientation != 1;
    const qint64 rowsDecoded = qint64(info.stored.width()) * (turned ? info.stored.height() : kept.height());
    const bool keptAffordable = multiScan
        ? info.bufferedBytes + keptBytes <= budget::kMemory && pixels <= budget::kWholePixels
        : rowsDecoded <= budget::kRowPixels;
    if (!keptAffordable)
        return refused(LoadTrouble::TooManyPixels, full);

    // The whole picture, reduced by libjpeg as far as it allows while keeping enough pixels.
    const QSize target = wholeSize(full, shown);
    int reduction = 8;
    while (reduction > 1 && (full.width() / reduction < target.width() || full.height() / reduction < target.height()))
        reduction /= 2;
    const qint64 reducedBytes = qint64(full.width() / reduction + 1) * (full.height() / reduction + 1) * 4;
    const bool wholeAffordable = pixels <= budget::kScaledJpegPixels
                                 && info.bufferedBytes + reducedBytes <= budget::kMemory;

    LoadedPicture result;
    result.declared = full;
    if (wholeAffordable) {
        const JpegPicture whole = decodeJpeg(device, info, QRect(QPoint(0, 0), full), reduction);
        if (whole.trouble == JpegTrouble::TooManyScans)
            return refused(LoadTrouble::TooManyScans, full);
        if (whole.image.isNull())
            return refused(LoadTrouble::NotAPicture, full);
        // At full size, the whole picture holds the kept part: one decoding does for both.
        if (reduction == 1)
            result.image = topLeft(whole.image, shown);
        result.whole = reducedWhole(whole.image, full, shown);
    }
    if (result.image.isNull()) {
        const JpegPicture part = decodeJpeg(device, info, QRect(QPoint(0, 0), kept), 1);
        if (part.trouble == JpegTrouble::TooManyScans)
            return refused(LoadTrouble::TooManyScans, full);
        if (part.image.isNull())
            return refused(LoadTrouble::NotAPicture, full);
        result.image = part.image;
    }
    return result;
}

LoadedPicture readPng(QIODevice *device, QSize shown)
{
    const PngInfo info = readPngInfo(device);
    if (info.trouble == PngTrouble::TooMuchMetadata)
        return refused(LoadTrouble::TooMuchMetadata);
    if (info.trouble != PngTrouble::None)
        return refused(LoadTrouble::NotAPicture);
    const QSize full = info.size;
    const qint64 pixels = qint64(full.width()) * full.height();
    if (!fitsItsPicture(device->size(), product(info.storedRowBytes, full.height())))
        return refused(LoadTrouble::FileTooLarge, full);

    const QSize kept = full.boundedTo(shown);
    const qint64 keptBytes = qint64(kept.width()) * kept.height() * 4;
    // Row by row, down to the last kept row; an interlaced file holds every row until its
    // last pass, and reaches the bottom in each.
    const bool keptAffordable = info.interlaced
        ? pixels <= budget::kWholePixels && pixels * 4 + keptBytes <= budget::kMemory
        : qint64(full.width()) * kept.height() <= budget::kRowPixels
              && info.storedRowBytes * kept.height() <= budget::kPngRowBytes;
    if (!keptAffordable)
        return refused(LoadTrouble::TooManyPixels, full);
    const bool wholeAffordable = pixels <= budget::kRowPixels && info.storedRowBytes * full.height() <= budget::kPngRowBytes;
    const QSize target = wholeSize(full, shown);
    const int reduction = std::max(1, std::min(full.width() / target.width(), full.height() / target.height()));

    const PngPicture png = decodePng(device, kept, wholeAffordable ? reduction : 0);
    if (png.trouble == PngTrouble::TooMuchMetadata)
        return refused(LoadTrouble::TooMuchMetadata, full);
    if (png.topLeft.isNull() && !kept.isEmpty())
        return refused(LoadTrouble::NotAPicture, full);
    LoadedPicture result;
    result.declared = full;
    result.image = png.topLeft;
    if (!png.whole.isNull())
        result.whole = reducedWhole(png.whole, full, shown);
    return result;
}

LoadedPicture readBmp(QIODevice *device, QSize shown)
{
    const std::optional<QSize> declared = bmpSize(device);
    if (!declared)
        return refused(LoadTrouble::NotAPicture);
    const QSize full = *declared;
    const qint64 pixels = qint64(full.width()) * full.height();
    const qint64 rowBytes = (qint64(full.width()) * 32 + 31) / 32 * 4;
    if (!fitsItsPicture(device->size(), product(rowBytes, full.height())))
        return refused(LoadTrouble::FileTooLarge, full);

    LoadedPicture result;
    result.declared = full;
    // Small enough to decode whole: once, for both the kept part and the whole.
    if (pixels <= budget::kWholePixels && pixels * 4 <= budget::kMemory) {
        QImage image = decodeWithQt(device, "bmp");
        if (image.isNull())
            return refused(LoadTrouble::NotAPicture, full);
        result.image = topLeft(image, shown);
        result.whole = reducedWhole(std::move(image), full, shown);
        return result;
    }
    // Larger uncompressed files: a small BMP of the kept rows, made by reading just those.
    std::optional<QByteArray> cropped = croppedBmp(device, shown);
    const QSize kept = full.boundedTo(shown);
    if (!cropped || qint64(kept.width()) * kept.height() > budget::kRowPixels)
        return refused(LoadTrouble::TooManyPixels, full);
    QBuffer small(&*cropped);
    small.open(QIODevice::ReadOnly);
    result.image = decodeWithQt(&small, "bmp");
    if (result.image.isNull())
        return refused(LoadTrouble::NotAPicture, full);
    return result;
}

LoadedPicture readGif(QIODevice *device, QSize shown)
{
    GifFirstFrame gif = gifFirstFrame(device);
    if (gif.trouble == GifTrouble::TooMuchMetadata)
        return refused(LoadTrouble::TooMuchMetadata);
    if (gif.trouble == GifTrouble::FileTooLarge)
        return refused(LoadTrouble::FileTooLarge, gif.screen);
    if (gif.trouble != GifTrouble::None)
        return refused(LoadTrouble::NotAPicture);
    // Qt decodes the first frame onto the whole logical screen.
    const qint64 pixels = qint64(gif.screen.width()) * gif.screen.height();
    if (pixels > budget::kWholePixels || pixels * 4 > budget::kMemory)
        return refused(LoadTrouble::TooManyPixels, gif.screen);
    QBuffer frame(&gif.file);
    frame.open(QIODevice::ReadOnly);
    QImage image = decodeWithQt(&frame, "gif");
    if (image.isNull())
        return refused(LoadTrouble::NotAPicture, gif.screen);
    LoadedPicture result;
    result.declared = image.size();
    result.image = topLeft(image, shown);
    result.whole = reducedWhole(std::move(image), result.declared, shown);
    return result;
}

LoadedPicture read(QIODevice *device, QSize shown)
{
    limitQtAllocations();
    LoadedPicture result;
    switch (pictureFormatOf(device)) {
    case PictureFormat::Jpeg: result = readJpeg(device, shown); break;
    case PictureFormat::Png: result = readPng(device, shown); break;
    case PictureFormat::Bmp: result = readBmp(device, shown); break;
    case PictureFormat::Gif: result = readGif(device, shown); break;
    case PictureFormat::None: result = refused(LoadTrouble::NotAPicture); break;
    }
    result.fileBytes = device->size();
    return result;
}

} // namespace

LoadedPicture LoadPicture(const QString &path, QSize shown)
{
    const std::unique_ptr<QIODevice> file = openPictureFile(path);
    if (!file)
        return refused(LoadTrouble::NotAPicture);
    return read(file.get(), shown);
}

LoadedPicture LoadPictureData(const QByteArray &data, QSize shown)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return read(&buffer, shown);
}

LoadedPicture LoadPictureImage(const QImage &image, QSize shown)
{
    if (image.isNull())
        return refused(LoadTrouble::NotAPicture);
    LoadedPicture result;
    result.declared = image.size();
    result.image = topLeft(image, shown);
    result.whole = reducedWhole(image, image.size(), shown);
    return result;
}

QString loadTroubleMessage(const QString &name, const LoadedPicture &p)
{
    const QString w = QString::number(p.declared.width()), h = QString::number(p.declared.height());
    switch (p.trouble) {
    case LoadTrouble::TooManyPixels:
        return QStringLiteral("「%1」は画像が大きすぎるため読み込めませんでした（%2 × %3 ピクセル）。").arg(name, w, h);
    case LoadTrouble::FileTooLarge:
        return QStringLiteral("「%1」はファイルが画像（%2 × %3 ピクセル）に比べて大きすぎるため読み込めませんでした（%4 MB）。")
            .arg(name, w, h, QString::number(double(p.fileBytes) / 1e6, 'f', 1));
    case LoadTrouble::TooMuchMetadata:
        return QStringLiteral("「%1」は画像のほかに付いているデータ（注釈や付加情報）が多すぎるため読み込めませんでした。").arg(name);
    case LoadTrouble::TooManyScans:
        return QStringLiteral("「%1」はスキャンの数が多すぎる JPEG 画像のため読み込めませんでした（%2 × %3 ピクセル）。").arg(name, w, h);
    case LoadTrouble::NotAPicture:
    case LoadTrouble::None:
        break;
    }
    return QStringLiteral("「%1」を画像として読み込めませんでした。").arg(name);
}
