#pragma once

#include <QByteArray>
#include <QSize>

#include <optional>

class QIODevice;

// An uncompressed BMP holding only the top-left `kept` pixels of the uncompressed BMP on
// `device` (read from its start; the device is left where it was), made by reading just
// those rows. Qt's reader then decodes that small file instead of every row of a large
// one. Nothing when the file is not an uncompressed BMP larger than `kept` whose layout
// allows this (compressed ones are left to Qt's reader as they are).
std::optional<QByteArray> croppedBmp(QIODevice *device, QSize kept);
