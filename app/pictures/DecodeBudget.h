#pragma once

#include <QSize>
#include <QtGlobal>

#include <algorithm>
#include <limits>

// What reading one picture may cost the editor, every limit in one place. A small picture is
// read on the window's thread, a large one on a worker while the window answers; either way
// its time and memory are the editor's own: together these keep a load within seconds and a
// few hundred megabytes, whatever the file claims.
namespace budget {

// The most memory decoding one picture may take: an 8192 x 8192 picture in 32 bits, which
// covers the photos of phones and scanners that people trace over.
constexpr qint64 kMemory = qint64(256) << 20;
// The most pixels a reader that stops at the kept rows may decode: rows of any width a
// JPEG can have, as many as the largest canvas shows.
constexpr qint64 kRowPixels = qint64(65536) * 1188;
// The most pixels a reader that must decode every pixel may decode: some 40 million, which
// Qt's slowest readers take about 0.7 s for on an ordinary machine.
constexpr qint64 kWholePixels = qint64(40) << 20;
// A JPEG is reduced while it is decoded (libjpeg scales by 1/2, 1/4 and 1/8 as it goes), so
// a whole one to fit the canvas may have as many pixels as the row readers decode.
constexpr qint64 kScaledJpegPixels = kRowPixels;
// The most samples (bytes of decoded rows) libpng may inflate for one picture.
constexpr qint64 kPngRowBytes = qint64(320) << 20;

// A progressive or multi-scan JPEG passes over its whole coefficient buffer once per scan:
// a normal one has about ten, thousands of tiny ones make a small file decode for minutes.
constexpr int kMostScans = 100;
// And it is decoded whole at some 20 MB of file a second: no more than a second's worth.
constexpr qint64 kMostMultiScanBytes = qint64(16) << 20;

// Data nobody shows (text chunks, comments, EXIF beyond the orientation, colour profiles,
// thumbnails) is skipped unread, but walking past it costs time too: at most this much of
// it, in at most this many pieces.
constexpr qint64 kMostMetadataBytes = qint64(16) << 20;
constexpr qint64 kMostPieces = 100000;
// The EXIF segment is read this far for its orientation; the rest is skipped.
constexpr qint64 kExifBytesRead = 64 * 1024;

// The most bytes a paste or a drop may hand over: a picture's file (the largest photos people
// trace over, and a BMP of 6000 x 6000, with room), and a text (the text of a 99 x 99
// picture in the widest pair, emoji with presentation selectors, is some 60 KB; a list of
// files far less).
constexpr qint64 kMostOfferedPictureBytes = qint64(128) << 20;
constexpr qint64 kMostOfferedTextBytes = qint64(256) << 10;
// How long a paste or a drop waits for the program that offers it: once, in all, for the
// type list and the data together. A transfer that flows earns more (DecodeBudget: a second
// for every 32 MB that arrived), up to the limit of its kind.
constexpr int kClipboardTimeoutMs = 600;

// The whole picture is kept, for fitting to the canvas, reduced until its shorter side is
// as long as the largest canvas and its longer side at most this many times that.
constexpr int kWholeAspectCap = 4;

// a x b, or the largest 64-bit number where that is larger: sizes a header claims can
// multiply beyond 64 bits.
inline qint64 product(qint64 a, qint64 b)
{
    qint64 p = 0;
    return __builtin_mul_overflow(a, b, &p) ? std::numeric_limits<qint64>::max() : p;
}

// A file no larger than its picture can need, plus what may be skipped: anything beyond is
// padding, and reading it would cost time for nothing.
inline bool fitsItsPicture(qint64 fileBytes, qint64 pictureBytes)
{
    return pictureBytes >= fileBytes / 2 || fileBytes <= 2 * pictureBytes + kMostMetadataBytes + (qint64(1) << 20);
}

// The most of a `full` picture that is kept whole for canvases of `shown` pixels: enough to
// fill the largest of them, the aspect of a panorama capped.
inline QSize wholeSize(QSize full, QSize shown)
{
    const double side = std::max(shown.width(), shown.height());
    const double shorter = std::min(full.width(), full.height());
    const double longer = std::max(full.width(), full.height());
    const double s = std::min({1.0, side / shorter, side * kWholeAspectCap / longer});
    return QSize(std::max(1, int(full.width() * s + 0.5)), std::max(1, int(full.height() * s + 0.5)));
}

// As far as libjpeg can reduce a `full` picture while decoding it (1/2, 1/4, 1/8) and keep at
// least `target` pixels.
inline int jpegReduction(QSize full, QSize target)
{
    int reduction = 8;
    while (reduction > 1 && (full.width() / reduction < target.width() || full.height() / reduction < target.height()))
        reduction /= 2;
    return reduction;
}

} // namespace budget
