#include "PictureLoader.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

namespace {

QImage read(QImageReader &reader, QSize shown)
{
    const QSize full = reader.size();
    const QRect wanted(QPoint(0, 0), full.isValid() ? full.boundedTo(shown) : shown);
    // Readers that can decode part of a file never build the rest of a huge picture.
    if (full.isValid() && full != wanted.size()
        && reader.supportsOption(QImageIOHandler::ClipRect))
        reader.setClipRect(wanted);
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return {};
    if (image.width() > shown.width() || image.height() > shown.height())
        image = image.copy(QRect(QPoint(0, 0), image.size().boundedTo(shown)));
    return image;
}

} // namespace

QImage LoadPicture(const QString &path, QSize shown)
{
    if (!QFileInfo(path).isFile())
        return {};
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return read(reader, shown);
}

QImage LoadPictureData(const QByteArray &data, QSize shown)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return read(reader, shown);
}
