// How a picture is asked for: a file, bytes or an image, read at once when it is small and on a
// worker otherwise; the same read at once, whole; and what the user is told when it cannot be.
#include "PictureLoader.h"
#include "BmpTopLeft.h"
#include "DecodeBudget.h"
#include "GifFirstFrame.h"
#include "JpegReader.h"
#include "PictureFile.h"
#include "PngReader.h"
#include <QCoreApplication>
#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <limits>
#include <memory>

namespace {

LoadedPicture loaded(PictureSource &source, QSize shown)
{
    LoadedPicture p;
    p.image = source.topLeft();
    p.whole = source.whole(shown);
    p.declared = source.declared();
    p.fileBytes = source.fileBytes();
    p.trouble = source.trouble();
    if (p.trouble != LoadTrouble::None) {
        p.image = QImage();
        p.whole = QImage();
    }
    return p;
}


// Whether a picture whose first bytes are `head`, in a file of `bytes`, is small enough to
// read within the command that gave it.
bool quickToRead(const QByteArray &head, qint64 bytes)
{
    if (bytes > kQuickFileBytes)
        return false;
    const std::optional<QSize> size = sizeFromHead(head);
    // What does not say its size is refused or read from its first bytes, at once.
    return !size || qint64(size->width()) * size->height() <= kQuickPixels;
}

constexpr qint64 kHeadBytes = 64 * 1024;

} // namespace

PictureRequest pictureFromFile(const QString &path, QSize largest)
{
    PictureRequest request;
    request.open = [path, largest](std::shared_ptr<DecodeWork> work) {
        std::shared_ptr<PictureSource> source = OpenPicture(path, largest, std::move(work));
        source->prepare();
        return source;
    };
    const std::unique_ptr<QIODevice> file = openPictureFile(path);
    request.quick = !file || quickToRead(file->read(kHeadBytes), file->size());
    return request;
}

PictureRequest pictureFromData(const QByteArray &data, QSize largest)
{
    PictureRequest request;
    request.open = [data, largest](std::shared_ptr<DecodeWork> work) {
        std::shared_ptr<PictureSource> source = OpenPictureData(data, largest, std::move(work));
        source->prepare();
        return source;
    };
    request.quick = quickToRead(data.left(kHeadBytes), data.size());
    return request;
}

PictureRequest pictureFromImage(const QImage &image, QSize largest)
{
    PictureRequest request;
    request.open = [image, largest](std::shared_ptr<DecodeWork> work) {
        return OpenPictureImage(image, largest, std::move(work));
    };
    request.quick = qint64(image.width()) * image.height() <= kQuickPixels;
    return request;
}

LoadedPicture LoadPicture(const QString &path, QSize shown) { return loaded(*OpenPicture(path, shown), shown); }
LoadedPicture LoadPictureData(const QByteArray &data, QSize shown) { return loaded(*OpenPictureData(data, shown), shown); }
LoadedPicture LoadPictureImage(const QImage &image, QSize shown) { return loaded(*OpenPictureImage(image, shown), shown); }

QString loadTroubleMessage(const QString &name, const LoadedPicture &p)
{
    return loadTroubleMessage(name, p.trouble, p.declared, p.fileBytes);
}

QString loadTroubleMessage(const QString &name, LoadTrouble trouble, QSize declared, qint64 fileBytes)
{
    const QString w = QString::number(declared.width()), h = QString::number(declared.height());
    switch (trouble) {
    case LoadTrouble::TooManyPixels:
        return QCoreApplication::translate("PictureRequests", "「%1」は画像が大きすぎるため読み込めませんでした（%2 × %3 ピクセル）。").arg(name, w, h);
    case LoadTrouble::FileTooLarge:
        return QCoreApplication::translate("PictureRequests", "「%1」はファイルが画像（%2 × %3 ピクセル）に比べて大きすぎるため読み込めませんでした（%4 MB）。")
            .arg(name, w, h, QString::number(double(fileBytes) / 1e6, 'f', 1));
    case LoadTrouble::TooMuchMetadata:
        return QCoreApplication::translate("PictureRequests", "「%1」は画像のほかに付いているデータ（注釈や付加情報）が多すぎるため読み込めませんでした。").arg(name);
    case LoadTrouble::TooManyScans:
        return QCoreApplication::translate("PictureRequests", "「%1」はスキャンの数が多すぎる JPEG 画像のため読み込めませんでした（%2 × %3 ピクセル）。").arg(name, w, h);
    case LoadTrouble::Cancelled:
        return QCoreApplication::translate("PictureRequests", "「%1」の読み込みを中止しました。").arg(name);
    case LoadTrouble::Missing:
        return QCoreApplication::translate("PictureRequests", "「%1」が見つかりません。").arg(name);
    case LoadTrouble::Folder:
        return QCoreApplication::translate("PictureRequests", "「%1」はフォルダーです。画像ファイルを指定してください。").arg(name);
    case LoadTrouble::NoPermission:
        return QCoreApplication::translate("PictureRequests", "「%1」を読む権限がありません。").arg(name);
    case LoadTrouble::NotAPicture:
    case LoadTrouble::None:
        break;
    }
    return QCoreApplication::translate("PictureRequests", "「%1」を画像として読み込めませんでした。").arg(name);
}
