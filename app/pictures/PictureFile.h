#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QIODevice;

// The picture formats the program reads, told by their first bytes, never by a file's name
// or by which readers Qt happens to have: anything else is no picture.
enum class PictureFormat { None, Bmp, Jpeg, Gif, Png };

PictureFormat pictureFormatOf(const QByteArray &firstBytes);
// The same for the start of `device`; the device is left where it was.
PictureFormat pictureFormatOf(QIODevice *device);

// Opens a picture file for reading, once: the descriptor opened is the one read from, so
// the file cannot be swapped between a check and the open. Opening does not wait (a pipe or
// a device opens at once), and what was opened must be a regular file; anything else gives
// nothing. Reads never wait either: a file whose data is not there reads as ended.
std::unique_ptr<QIODevice> openPictureFile(const QString &path);
