#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

// Why reading a picture gave none.
enum class LoadTrouble {
    None,
    NotAPicture,     // not a BMP, JPEG, GIF or PNG file, or one that cannot be decoded
    TooManyPixels,   // decoding would cost more time or memory than the budget allows
    FileTooLarge,    // the file is far larger than its picture can need
    TooMuchMetadata, // more data nobody shows (comments, text, profiles) than is ever skipped
    TooManyScans,    // a progressive JPEG cut into more scans than the budget allows
};

// A picture opened for the underlay: weighed from its header against the budget, and
// decoded in the parts asked for. A JPEG is kept as its file's bytes and decoded only as far
// and as large as each request needs (libjpeg reduces it while decoding): fitting a photo to
// a small canvas never decodes it at full size. Every other format is decoded when opened.
class PictureSource
{
public:
    virtual ~PictureSource() = default;

    LoadTrouble trouble() const { return trouble_; }
    // The size the file claims, turned as the file says it is to be shown.
    QSize declared() const { return declared_; }
    qint64 fileBytes() const { return fileBytes_; }

    // The top-left part, unscaled, as much of it as `largest` (given when opened) takes.
    // Null when it cannot be decoded; trouble() then says why.
    virtual QImage topLeft() = 0;
    // The whole picture laid over white, reduced no further than to `need` pixels (the size
    // it takes on a canvas, fitted or filled), so that showing it there never blows it up;
    // never kept larger than a canvas of `largest` can need. Null when reducing it would cost
    // more than the budget allows (then only the top-left part can be shown) or it cannot be
    // decoded.
    virtual QImage whole(QSize need) = 0;
    // Whether whole() can give a picture at all, as far as the budget goes.
    virtual bool hasWhole() const = 0;

protected:
    LoadTrouble trouble_ = LoadTrouble::None;
    QSize declared_;
    qint64 fileBytes_ = 0;
};

// Opens the picture file at `path`: only files of the four formats, opened once, weighed
// from their headers before any decoder sees them (DecodeBudget.h). `largest` is the most of
// it a canvas can show. Never null: a picture that cannot be had says why in trouble().
std::shared_ptr<PictureSource> OpenPicture(const QString &path, QSize largest);
// The same for bytes already in memory (pasted or dropped image data).
std::shared_ptr<PictureSource> OpenPictureData(const QByteArray &data, QSize largest);
// The same for a picture another part of this process already decoded.
std::shared_ptr<PictureSource> OpenPictureImage(const QImage &image, QSize largest);

// What reading a picture gave, decoded at once.
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

// Opens and decodes at once: the top-left `shown` pixels as they are, and the whole
// picture reduced as far as covering a canvas of `shown` allows.
LoadedPicture LoadPicture(const QString &path, QSize shown);
LoadedPicture LoadPictureData(const QByteArray &data, QSize shown);
LoadedPicture LoadPictureImage(const QImage &image, QSize shown);

// `image` opaque, laid over white, as the canvas shows a transparent underlay.
QImage opaqueOverWhite(QImage image);

// What the user is told when a picture was not loaded; `name` says where it came from.
QString loadTroubleMessage(const QString &name, LoadTrouble trouble, QSize declared, qint64 fileBytes);
QString loadTroubleMessage(const QString &name, const LoadedPicture &picture);
