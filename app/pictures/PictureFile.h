#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <memory>
#include <optional>

class DecodeWork;
class QIODevice;

// The picture formats the program reads, told by their first bytes, never by a file's name
// or by which readers Qt happens to have: anything else is no picture.
enum class PictureFormat { None, Bmp, Jpeg, Gif, Png };

PictureFormat pictureFormatOf(const QByteArray &firstBytes);
// The same for the start of `device`; the device is left where it was.
PictureFormat pictureFormatOf(QIODevice *device);

// The size a picture says it has, read from its first bytes alone (`head`: 64 KiB are
// plenty for every ordinary file): the header of a PNG, GIF or BMP, the frame header of a
// JPEG when it comes before the end of `head`. Nothing when `head` does not tell.
std::optional<QSize> sizeFromHead(const QByteArray &head);

// A file name as the system gives it: bytes, which need not be UTF-8 (a Latin-1 name from an
// old archive or a USB stick). The name is kept whole in a QString, every byte that is not
// part of UTF-8 as the lone surrogate U+DC80 + (byte - 0x80), the way Python's surrogate
// escape does, so that any name that opens in a terminal opens here. Qt's own decodeName
// turns such bytes into U+FFFD and the file can no longer be found.
QString fileNameFromBytes(const QByteArray &bytes);
QByteArray fileNameBytes(const QString &name);
// The name as a message shows it: every byte that is not UTF-8 as U+FFFD.
QString shownFileName(const QString &name);

// Why a file could not be opened for reading.
enum class FileTrouble { None, Missing, Folder, NoPermission, NotAFile };

// Opens a picture file for reading, once: the descriptor opened is the one read from, so
// the file cannot be swapped between a check and the open. Opening does not wait (a pipe or
// a device opens at once), and what was opened must be a regular file; anything else gives
// nothing, and `trouble` (when given) says why. Reads never wait either: a file whose data
// is not there reads as ended. Every byte read from it is counted in `work`, when given.
std::unique_ptr<QIODevice> openPictureFile(const QString &path, DecodeWork *work = nullptr,
                                           FileTrouble *trouble = nullptr);
// Bytes already in memory, read as a file would be, the bytes counted the same way.
std::unique_ptr<QIODevice> openPictureBytes(const QByteArray &bytes, DecodeWork *work = nullptr);
