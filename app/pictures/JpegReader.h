#pragma once

#include "JpegRows.h"

#include <QImage>

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
