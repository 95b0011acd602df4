#pragma once

#include <QImage>
#include <QSize>

#include <optional>

class QIODevice;

// Both read the PNG from the start of `device`.

// The size and layout a PNG's header declares; the device is left where it was.
struct PngHeader
{
    QSize size;
    bool interlaced = false;
};
std::optional<PngHeader> readPngHeader(QIODevice *device);

// Decodes only the top-left `kept` pixels of the PNG on `device`, with libpng, as 32-bit
// RGBA. The rows below them are never decoded, except in an interlaced file, whose every
// pass reaches the top rows. Null when the file is not a PNG libpng can read.
QImage readPngTopLeft(QIODevice *device, QSize kept);
