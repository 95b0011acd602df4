#pragma once

#include <QRect>
#include <QSize>

#include <functional>

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

// A region of the stored picture for a region of the picture as shown.
QRect jpegStoredRect(const QRect &shown, QSize stored, int orientation);
// The part of the stored picture reduced by `reduction` that holds `shown` (orientation
// applied), its edges rounded outwards as libjpeg rounds the reduced size up.
QRect jpegReducedPart(const QRect &shown, const JpegInfo &info, int reduction);

// Receives row `y` (from the part's top) of opaque pixels as 0xAARRGGBB, the part's width.
using JpegRowSink = std::function<void(int y, const quint32 *pixels)>;
// Decodes `part` (reduced stored coordinates) of the picture reduced by `reduction` (1, 2, 4
// or 8) while decoding, one row at a time, keeping none: rows below the part are never
// decoded, rows above it and columns beside it as little as libjpeg allows. Every row decoded
// (or skipped on the way, which costs nearly as much) is counted in `work`, which can also
// stop the reading between two rows or scans.
JpegTrouble decodeJpegRows(QIODevice *device, const QRect &part, int reduction, DecodeWork *work, const JpegRowSink &to);
