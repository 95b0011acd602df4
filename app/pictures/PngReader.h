#pragma once

#include <QImage>
#include <QSize>

class DecodeWork;
class QIODevice;

// Reading PNG files with libpng, by code of ours: libpng only ever sees the chunks that
// make the pixels (header, palette, transparency, image data, end). Text chunks, profiles
// and every other ancillary chunk are skipped unread, and their amount is capped.

enum class PngTrouble { None, Unreadable, TooMuchMetadata, Cancelled };

struct PngInfo
{
    QSize size;
    bool interlaced = false;
    // Bytes of one row as the file stores it, and as decoded (8-bit RGBA).
    qint64 storedRowBytes = 0;
    PngTrouble trouble = PngTrouble::None;
};

// Reads the header and walks to the image data; the device is left where it was.
PngInfo readPngInfo(QIODevice *device);

struct PngPicture
{
    // The top-left `kept` pixels, as 32-bit RGBA.
    QImage topLeft;
    // With a reduction: the whole picture, each `reduction` x `reduction` block of pixels
    // averaged into one, laid over white.
    QImage whole;
    PngTrouble trouble = PngTrouble::None;
};

// Decodes the PNG on `device` row by row. Without a reduction (0), the rows below the kept
// ones are never decoded (except in an interlaced file, whose every pass reaches the top
// rows); with one, every row is decoded once for both results. Every row decoded is
// counted in `work`, which can also stop the reading between two rows.
PngPicture decodePng(QIODevice *device, QSize kept, int reduction, DecodeWork *work = nullptr);
