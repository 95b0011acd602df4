#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Why reading a picture gave none.
enum class LoadTrouble {
    None,
    NotAPicture,     // not a BMP, JPEG, GIF or PNG file, or one that cannot be decoded
    TooManyPixels,   // decoding would cost more time or memory than the budget allows
    FileTooLarge,    // the file is far larger than its picture can need
    TooMuchMetadata, // more data nobody shows (comments, text, profiles) than is ever skipped
    TooManyScans,    // a progressive JPEG cut into more scans than the budget allows
};

// What reading a picture gave.
struct LoadedPicture
{
    // The top-left part of the picture asked for, unscaled: the underlay as loaded. Null
    // when nothing was loaded.
    QImage image;
    // The whole picture, laid over white and reduced to what fitting it to the largest
    // canvas needs. Null when there is no picture, or when reducing it would cost more than
    // the budget allows (then only the top-left part can be shown).
    QImage whole;
    // The size the file claims, turned as the file says it is to be shown.
    QSize declared;
    qint64 fileBytes = 0;
    LoadTrouble trouble = LoadTrouble::None;
};

// Reads the picture file at `path`: only files of the four formats, opened once, weighed
// from their headers before any decoder sees them (DecodeBudget.h). The top-left `shown`
// pixels are kept as they are.
LoadedPicture LoadPicture(const QString &path, QSize shown);

// The same for bytes already in memory (pasted or dropped image data).
LoadedPicture LoadPictureData(const QByteArray &data, QSize shown);

// The same for a picture another part of this process already decoded.
LoadedPicture LoadPictureImage(const QImage &image, QSize shown);

// What the user is told when `picture` was not loaded; `name` says where it came from.
QString loadTroubleMessage(const QString &name, const LoadedPicture &picture);
