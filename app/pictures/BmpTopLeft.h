#pragma once

#include <QByteArray>
#include <QSize>

#include <optional>

class QIODevice;

// The size the BMP at the start of `device` declares (a negative height, for rows stored
// top down, counts as its length); the device is left where it was. Nothing when its header
// is not one of a BMP.
std::optional<QSize> bmpSize(QIODevice *device);

// An uncompressed BMP holding only the top-left `kept` pixels of the uncompressed BMP on
// `device` (read from its start; the device is left where it was), made by reading just
// those rows. Qt's reader then decodes that small file instead of every row of a large
// one. Nothing when the file is not an uncompressed BMP larger than `kept` whose layout
// allows this (compressed ones are left to Qt's reader as they are).
std::optional<QByteArray> croppedBmp(QIODevice *device, QSize kept);
