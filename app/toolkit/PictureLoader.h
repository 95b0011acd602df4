#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// What reading a picture gave: the picture, or why there is none.
struct LoadedPicture
{
    // Only the top-left part asked for; null when nothing was loaded.
    QImage image;
    // Refused before decoding, because decoding would cost more memory than the program
    // allows itself; `declared` is the size the file claims.
    bool tooLarge = false;
    QSize declared;
};

// Reads the picture file at `path`. Only the top-left `shown` pixels are kept, since
// nothing beyond them can ever be seen. A file that is not a picture gives a null image;
// one whose decoding would need more than the decoding budget is refused unread.
LoadedPicture LoadPicture(const QString &path, QSize shown);

// The same for bytes already in memory (pasted or dropped image data).
LoadedPicture LoadPictureData(const QByteArray &data, QSize shown);
