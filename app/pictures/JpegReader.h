#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

#include <optional>

class DecodeWork;
class QIODevice;

// Reading JPEG files with libjpeg, by code of ours: only what decoding needs is read.
// Comments and application segments are skipped unread (the EXIF orientation aside), their
// amount is capped, scans are counted while they are read, and nothing is kept but pixels.

enum class JpegTrouble { None, Unreadable, TooMuchMetadata, TooManyScans, Cancelled };

struct JpegInfo
{
    QSize stored; // the size of the picture as stored, before its orientation is applied
    int orientation = 1; // EXIF orientation, 1 to 8 (1: as stored)
    // A progressive or multi-scan file is decoded from a buffer of every coefficient of the
    // whole picture, this large, whatever part of it is kept afterwards; 0 for a single scan.
    qint64 bufferedBytes = 0;
    JpegTrouble trouble = JpegTrouble::None;

    // The size as shown, the orientation applied.
    QSize shown() const { return orientation >= 5 ? stored.transposed() : stored; }
};

// Reads the header of the JPEG at the start of `device`; the device is left where it was.
JpegInfo readJpegInfo(QIODevice *device);

struct JpegPicture
{
    QImage image; // null when decoding failed
    JpegTrouble trouble = JpegTrouble::None;
};

// Decodes the part `shownRect` of the picture as shown (orientation applied), reduced by
// `reduction` (1, 2, 4 or 8) while decoding, as a 32-bit RGB image of that part's reduced
// size. Rows below the part are never decoded; rows above it and columns beside it are
// decoded as little as libjpeg allows. Every row decoded (or skipped on the way, which costs
// nearly as much) is counted in `work`, which can also stop the reading between two rows or
// scans.
JpegPicture decodeJpeg(QIODevice *device, const JpegInfo &info, const QRect &shownRect, int reduction,
                       DecodeWork *work = nullptr);
