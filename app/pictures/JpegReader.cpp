#include "JpegReader.h"

#include <QIODevice>
#include <QTransform>

#include <cstring>

namespace {

QImage oriented(const QImage &image, int orientation)
{
    switch (orientation) {
    case 2: return image.mirrored(true, false);
    case 3: return image.mirrored(true, true);
    case 4: return image.mirrored(false, true);
    // Turns by quarters are exact in Qt; the two transpositions are a turn and a flip.
    case 5: return image.transformed(QTransform().rotate(90)).mirrored(true, false);
    case 6: return image.transformed(QTransform().rotate(90));
    case 7: return image.transformed(QTransform().rotate(90)).mirrored(false, true);
    case 8: return image.transformed(QTransform().rotate(270));
    default: return image;
    }
}

} // namespace

JpegPicture decodeJpeg(QIODevice *device, const JpegInfo &info, const QRect &shownRect, int reduction,
                       DecodeWork *work)
{
    JpegPicture result;
    const QRect shown = shownRect & QRect(QPoint(0, 0), info.shown());
    if (shown.isEmpty()) {
        result.trouble = JpegTrouble::Unreadable;
        return result;
    }
    const QRect part = jpegReducedPart(shown, info, reduction);
    QImage image(part.size(), QImage::Format_RGB32);
    if (image.isNull()) {
        result.trouble = JpegTrouble::Unreadable;
        return result;
    }
    result.trouble = decodeJpegRows(device, part, reduction, work, [&image](int y, const quint32 *pixels) {
        std::memcpy(image.scanLine(y), pixels, size_t(image.width()) * 4);
    });
    if (result.trouble == JpegTrouble::None)
        result.image = oriented(image, info.orientation);
    return result;
}
