#include "pictureDrop.h"

#include <QDir>
#include <QMimeData>
#include <QUrl>

namespace {

std::optional<QString> localFile(const QMimeData *data)
{
    if (data->hasUrls())
        for (const QUrl &url : data->urls())
            if (url.isLocalFile())
                return url.toLocalFile();
    return std::nullopt;
}

// The first image type whose bytes are on offer, undecoded.
std::optional<QString> imageType(const QMimeData *data)
{
    for (const QString &format : data->formats())
        if (format.startsWith(QLatin1String("image/")))
            return format;
    return std::nullopt;
}

} // namespace

bool offersPicture(const QMimeData *data)
{
    return data && (localFile(data) || imageType(data) || data->hasImage());
}

std::optional<OfferedPicture> loadOfferedPicture(const QMimeData *data, QSize shown,
                                                 const QString &unnamed)
{
    if (!data)
        return std::nullopt;
    if (const std::optional<QString> path = localFile(data))
        return OfferedPicture{QDir::toNativeSeparators(*path), LoadPicture(*path, shown)};
    // The bytes go through the loader and its budget; only a program that offers nothing
    // but an image already decoded in this process is taken as it is.
    if (const std::optional<QString> type = imageType(data)) {
        const QByteArray bytes = data->data(*type);
        if (!bytes.isEmpty())
            return OfferedPicture{unnamed, LoadPictureData(bytes, shown)};
    }
    if (data->hasImage()) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        LoadedPicture picture;
        picture.image = image.copy(QRect(QPoint(0, 0), image.size().boundedTo(shown)));
        return OfferedPicture{unnamed, picture};
    }
    return std::nullopt;
}
