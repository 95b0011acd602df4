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

using budget::fitsItsPicture;
using budget::jpegReduction;
using budget::product;
using budget::wholeSize;

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
    return opaqueOverWhite(std::move(image));
}

QImage topLeft(const QImage &image, QSize shown)
{
    if (image.width() <= shown.width() && image.height() <= shown.height())
        return image;
    return image.copy(QRect(QPoint(0, 0), image.size().boundedTo(shown)));
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


// A picture decoded when opened: the top-left part and the whole, reduced, both kept.
class DecodedSource : public PictureSource
{
public:
    DecodedSource(std::shared_ptr<DecodeWork> work, LoadTrouble trouble, QSize declared, QImage topLeft = {},
                  QImage whole = {})
        : topLeft_(std::move(topLeft)), whole_(std::move(whole))
    {
        work_ = std::move(work);
        trouble_ = trouble;
        declared_ = declared;
        if (trouble_ == LoadTrouble::None && work_->cancelled())
            trouble_ = LoadTrouble::Cancelled;
        if (trouble_ == LoadTrouble::None && topLeft_.isNull())
            trouble_ = LoadTrouble::NotAPicture;
    }
    void setFileBytes(qint64 bytes) { fileBytes_ = bytes; }
    QImage topLeft() override { return topLeft_; }
    QImage whole(QSize) override { return whole_; }
    bool hasWhole() const override { return !whole_.isNull(); }

private:
    QImage topLeft_;
    QImage whole_;
};

std::shared_ptr<DecodedSource> refused(const std::shared_ptr<DecodeWork> &work, LoadTrouble why, QSize declared = {})
{
    return std::make_shared<DecodedSource>(work, why, declared);
}

// A JPEG kept as its file's bytes, decoded as far and as large as each request needs.
class JpegSource : public PictureSource
{
public:
    JpegSource(std::shared_ptr<DecodeWork> work, QByteArray bytes, const JpegInfo &info, QSize largest,
               bool wholeAffordable)
        : bytes_(std::move(bytes)), info_(info), largest_(largest), wholeAffordable_(wholeAffordable)
    {
        work_ = std::move(work);
        declared_ = info.shown();
        fileBytes_ = bytes_.size();
    }

    QImage topLeft() override
    {
        if (topLeft_.isNull() && trouble_ == LoadTrouble::None)
            topLeft_ = decode(QRect(QPoint(0, 0), declared_.boundedTo(largest_)), 1);
        return topLeft_;
    }

    QImage whole(QSize need) override
    {
        if (!wholeAffordable_ || trouble_ != LoadTrouble::None)
            return {};
        const QSize most = wholeSize(declared_, largest_);
        const QSize target = need.boundedTo(most).expandedTo(QSize(1, 1));
        if (!whole_.isNull() && whole_.width() >= target.width() && whole_.height() >= target.height())
            return whole_;
        // Kept as libjpeg reduced it, no further: the conversion averages these very pixels,
        // and so does the command line as it decodes them, row by row.
        const int reduction = jpegReduction(declared_, target);
        const QImage image = decode(QRect(QPoint(0, 0), declared_), reduction);
        if (image.isNull())
            return {};
        // At full size, the whole picture holds the top-left part: one decoding does for both.
        if (reduction == 1 && topLeft_.isNull())
            topLeft_ = ::topLeft(image, largest_);
        whole_ = opaqueOverWhite(image);
        return whole_;
    }

    bool hasWhole() const override { return wholeAffordable_; }

private:
    QImage decode(const QRect &part, int reduction)
    {
        const std::unique_ptr<QIODevice> device = openPictureBytes(bytes_, work_.get());
        const JpegPicture picture = decodeJpeg(device.get(), info_, part, reduction, work_.get());
        if (picture.trouble == JpegTrouble::TooManyScans)
            trouble_ = LoadTrouble::TooManyScans;
        else if (picture.trouble == JpegTrouble::Cancelled)
            trouble_ = LoadTrouble::Cancelled;
        else if (picture.image.isNull())
            trouble_ = LoadTrouble::NotAPicture;
        return picture.image;
    }

    QByteArray bytes_;
    JpegInfo info_;
    QSize largest_;
    bool wholeAffordable_;
    QImage topLeft_;
    QImage whole_;
};

// JPEGs larger than this are decoded when opened rather than kept.
constexpr qint64 kMostKeptJpegBytes = qint64(64) << 20;

std::shared_ptr<PictureSource> openJpeg(QIODevice *device, QSize shown, const std::shared_ptr<DecodeWork> &work)
{
    const JpegInfo info = readJpegInfo(device);
    if (info.trouble == JpegTrouble::TooMuchMetadata)
        return refused(work, LoadTrouble::TooMuchMetadata);
    if (info.trouble != JpegTrouble::None)
        return refused(work, LoadTrouble::NotAPicture);
    const QSize full = info.shown();
    const qint64 pixels = qint64(full.width()) * full.height();
    if (!fitsItsPicture(device->size(), product(3, pixels)))
        return refused(work, LoadTrouble::FileTooLarge, full);
    const bool multiScan = info.bufferedBytes > 0;
    if (multiScan && device->size() > budget::kMostMultiScanBytes)
        return refused(work, LoadTrouble::FileTooLarge, full);

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
        return refused(work, LoadTrouble::TooManyPixels, full);
    // Every row is decoded for the whole picture, reduced as libjpeg goes.
    const qint64 reducedBytes = qint64(full.width() / 2 + 1) * (full.height() / 2 + 1) * 4;
    const bool wholeAffordable = pixels <= budget::kScaledJpegPixels
                                 && info.bufferedBytes + reducedBytes <= budget::kMemory;
    work->planned(info.bufferedBytes + keptBytes);
    if (wholeAffordable)
        work->planned(info.bufferedBytes + reducedBytes);

    QByteArray bytes;
    if (device->size() <= kMostKeptJpegBytes && device->seek(0))
        bytes = device->readAll();
    if (bytes.size() == device->size())
        return std::make_shared<JpegSource>(work, std::move(bytes), info, shown, wholeAffordable);
    // Too large to keep: both parts decoded now, from the file.
    const JpegPicture part = decodeJpeg(device, info, QRect(QPoint(0, 0), kept), 1, work.get());
    if (part.image.isNull())
        return refused(work,
                       part.trouble == JpegTrouble::TooManyScans ? LoadTrouble::TooManyScans
                       : part.trouble == JpegTrouble::Cancelled  ? LoadTrouble::Cancelled
                                                                 : LoadTrouble::NotAPicture,
                       full);
    QImage whole;
    if (wholeAffordable) {
        const int reduction = jpegReduction(full, wholeSize(full, shown));
        whole = opaqueOverWhite(decodeJpeg(device, info, QRect(QPoint(0, 0), full), reduction, work.get()).image);
    }
    auto decoded = std::make_shared<DecodedSource>(work, LoadTrouble::None, full, part.image, whole);
    decoded->setFileBytes(device->size());
    return decoded;
}

std::shared_ptr<PictureSource> openPng(QIODevice *device, QSize shown, const std::shared_ptr<DecodeWork> &work)
{
    const PngInfo info = readPngInfo(device);
    if (info.trouble == PngTrouble::TooMuchMetadata)
        return refused(work, LoadTrouble::TooMuchMetadata);
    if (info.trouble != PngTrouble::None)
        return refused(work, LoadTrouble::NotAPicture);
    const QSize full = info.size;
    const qint64 pixels = qint64(full.width()) * full.height();
    if (!fitsItsPicture(device->size(), product(info.storedRowBytes, full.height())))
        return refused(work, LoadTrouble::FileTooLarge, full);

    const QSize kept = full.boundedTo(shown);
    const qint64 keptBytes = qint64(kept.width()) * kept.height() * 4;
    // Row by row, down to the last kept row; an interlaced file holds every row until its
    // last pass, and reaches the bottom in each.
    const bool keptAffordable = info.interlaced
        ? pixels <= budget::kWholePixels && pixels * 4 + keptBytes <= budget::kMemory
        : qint64(full.width()) * kept.height() <= budget::kRowPixels
              && info.storedRowBytes * kept.height() <= budget::kPngRowBytes;
    if (!keptAffordable)
        return refused(work, LoadTrouble::TooManyPixels, full);
    const bool wholeAffordable = pixels <= budget::kRowPixels && info.storedRowBytes * full.height() <= budget::kPngRowBytes;
    const QSize target = wholeSize(full, shown);
    const int reduction = std::max(1, std::min(full.width() / target.width(), full.height() / target.height()));
    work->planned(keptBytes + (info.interlaced ? pixels * 4 : qint64(full.width()) * 4)
                  + (wholeAffordable ? qint64(full.width() / reduction + 1) * (full.height() / reduction + 1) * 4 : 0));

    const PngPicture png = decodePng(device, kept, wholeAffordable ? reduction : 0, work.get());
    if (png.trouble == PngTrouble::TooMuchMetadata)
        return refused(work, LoadTrouble::TooMuchMetadata, full);
    if (png.trouble == PngTrouble::Cancelled)
        return refused(work, LoadTrouble::Cancelled, full);
    if (png.topLeft.isNull() && !kept.isEmpty())
        return refused(work, LoadTrouble::NotAPicture, full);
    return std::make_shared<DecodedSource>(work, LoadTrouble::None, full, png.topLeft,
                                           png.whole.isNull() ? QImage() : reducedWhole(png.whole, full, shown));
}

std::shared_ptr<PictureSource> openBmp(QIODevice *device, QSize shown, const std::shared_ptr<DecodeWork> &work)
{
    const std::optional<QSize> declared = bmpSize(device);
    if (!declared)
        return refused(work, LoadTrouble::NotAPicture);
    const QSize full = *declared;
    const qint64 pixels = qint64(full.width()) * full.height();
    const qint64 rowBytes = (qint64(full.width()) * 32 + 31) / 32 * 4;
    if (!fitsItsPicture(device->size(), product(rowBytes, full.height())))
        return refused(work, LoadTrouble::FileTooLarge, full);

    // Small enough to decode whole: once, for both the kept part and the whole.
    if (pixels <= budget::kWholePixels && pixels * 4 <= budget::kMemory) {
        work->planned(pixels * 4);
        QImage image = decodeWithQt(device, "bmp");
        if (image.isNull())
            return refused(work, LoadTrouble::NotAPicture, full);
        work->addRows(image.height(), image.width());
        QImage kept = topLeft(image, shown);
        return std::make_shared<DecodedSource>(work, LoadTrouble::None, full, std::move(kept),
                                               reducedWhole(std::move(image), full, shown));
    }
    // Larger uncompressed files: a small BMP of the kept rows, made by reading just those.
    const QSize kept = full.boundedTo(shown);
    if (qint64(kept.width()) * kept.height() > budget::kRowPixels)
        return refused(work, LoadTrouble::TooManyPixels, full);
    std::optional<QByteArray> cropped = croppedBmp(device, shown);
    if (!cropped)
        return refused(work, LoadTrouble::TooManyPixels, full);
    work->planned(qint64(kept.width()) * kept.height() * 4 + cropped->size());
    QBuffer small(&*cropped);
    small.open(QIODevice::ReadOnly);
    const QImage image = decodeWithQt(&small, "bmp");
    work->addRows(image.height(), image.width());
    return std::make_shared<DecodedSource>(work, LoadTrouble::None, full, image);
}

std::shared_ptr<PictureSource> openGif(QIODevice *device, QSize shown, const std::shared_ptr<DecodeWork> &work)
{
    GifFirstFrame gif = gifFirstFrame(device);
    if (gif.trouble == GifTrouble::TooMuchMetadata)
        return refused(work, LoadTrouble::TooMuchMetadata);
    if (gif.trouble == GifTrouble::FileTooLarge)
        return refused(work, LoadTrouble::FileTooLarge, gif.screen);
    if (gif.trouble != GifTrouble::None)
        return refused(work, LoadTrouble::NotAPicture);
    // Qt decodes the first frame onto the whole logical screen.
    const qint64 pixels = qint64(gif.screen.width()) * gif.screen.height();
    if (pixels > budget::kWholePixels || pixels * 4 > budget::kMemory)
        return refused(work, LoadTrouble::TooManyPixels, gif.screen);
    work->planned(pixels * 4);
    QBuffer frame(&gif.file);
    frame.open(QIODevice::ReadOnly);
    QImage image = decodeWithQt(&frame, "gif");
    if (image.isNull())
        return refused(work, LoadTrouble::NotAPicture, gif.screen);
    work->addRows(image.height(), image.width());
    const QSize size = image.size();
    QImage kept = topLeft(image, shown);
    return std::make_shared<DecodedSource>(work, LoadTrouble::None, size, std::move(kept),
                                           reducedWhole(std::move(image), size, shown));
}

std::shared_ptr<PictureSource> open(QIODevice *device, QSize shown, std::shared_ptr<DecodeWork> work)
{
    limitQtAllocations();
    if (!work)
        work = std::make_shared<DecodeWork>();
    std::shared_ptr<PictureSource> source;
    switch (pictureFormatOf(device)) {
    case PictureFormat::Jpeg: source = openJpeg(device, shown, work); break;
    case PictureFormat::Png: source = openPng(device, shown, work); break;
    case PictureFormat::Bmp: source = openBmp(device, shown, work); break;
    case PictureFormat::Gif: source = openGif(device, shown, work); break;
    case PictureFormat::None: source = refused(work, LoadTrouble::NotAPicture); break;
    }
    if (auto *decoded = dynamic_cast<DecodedSource *>(source.get()))
        decoded->setFileBytes(device->size());
    return source;
}

} // namespace

std::shared_ptr<PictureSource> OpenPicture(const QString &path, QSize largest, std::shared_ptr<DecodeWork> work)
{
    if (!work)
        work = std::make_shared<DecodeWork>();
    FileTrouble trouble = FileTrouble::None;
    const std::unique_ptr<QIODevice> file = openPictureFile(path, work.get(), &trouble);
    if (!file)
        return refused(work, trouble == FileTrouble::Missing        ? LoadTrouble::Missing
                             : trouble == FileTrouble::Folder       ? LoadTrouble::Folder
                             : trouble == FileTrouble::NoPermission ? LoadTrouble::NoPermission
                                                                    : LoadTrouble::NotAPicture);
    return open(file.get(), largest, work);
}

std::shared_ptr<PictureSource> OpenPictureData(const QByteArray &data, QSize largest, std::shared_ptr<DecodeWork> work)
{
    if (!work)
        work = std::make_shared<DecodeWork>();
    const std::unique_ptr<QIODevice> buffer = openPictureBytes(data, work.get());
    return open(buffer.get(), largest, work);
}

std::shared_ptr<PictureSource> OpenPictureImage(const QImage &image, QSize largest, std::shared_ptr<DecodeWork> work)
{
    if (!work)
        work = std::make_shared<DecodeWork>();
    if (image.isNull())
        return refused(work, LoadTrouble::NotAPicture);
    return std::make_shared<DecodedSource>(work, LoadTrouble::None, image.size(), topLeft(image, largest),
                                           reducedWhole(image, image.size(), largest));
}

void PictureSource::prepare()
{
    if (trouble_ != LoadTrouble::None)
        return;
    topLeft();
    // Asked for more than any placement needs, it gives the most any canvas can show.
    if (trouble_ == LoadTrouble::None && hasWhole())
        whole(QSize(1 << 20, 1 << 20));
}

QImage opaqueOverWhite(QImage image)
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
