#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Reads the picture file at `path`. Only the top-left `shown` pixels are kept, since
// nothing beyond them can ever be seen. Returns a null image when the file can't be
// read as a picture, or when decoding it would need more memory than Qt allows.
QImage LoadPicture(const QString &path, QSize shown);

// The same for bytes already in memory.
QImage LoadPictureData(const QByteArray &data, QSize shown);
