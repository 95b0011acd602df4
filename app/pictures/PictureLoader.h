#pragma once

#include "DecodeWork.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

// Why reading a picture gave none.
enum class LoadTrouble {
    None,
    NotAPicture,     // not a BMP, JPEG, GIF or PNG file, or one that cannot be decoded
    TooManyPixels,   // decoding would cost more time or memory than the budget allows
    FileTooLarge,    // the file is far larger than its picture can need
    TooMuchMetadata, // more data nobody shows (comments, text, profiles) than is ever skipped
    TooManyScans,    // a progressive JPEG cut into more scans than the budget allows
    Cancelled,       // the reading was stopped before it ended
    Missing,         // no file of that name
    Folder,          // a folder, not a file
    NoPermission,    // a file the user may not read
};

// A picture opened for the underlay: weighed from its header against the budget, and
// decoded in the parts asked for. A JPEG is kept as its file's bytes and decoded only as far
// and as large as each request needs (libjpeg reduces it while decoding): fitting a photo to
// a small canvas never decodes it at full size. Every other format is decoded when opened.
// What decoding it did so far is counted in work().
class PictureSource
{
public:
    virtual ~PictureSource() = default;

    LoadTrouble trouble() const { return trouble_; }
    const DecodeWork &work() const { return *work_; }
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
    // Decodes now every part a canvas of `largest` can ever ask for, so that no later request
    // decodes anything: what a worker thread does before the window takes the picture.
    void prepare();

protected:
    std::shared_ptr<DecodeWork> work_ = std::make_shared<DecodeWork>();
    LoadTrouble trouble_ = LoadTrouble::None;
    QSize declared_;
    qint64 fileBytes_ = 0;
};

// Opens the picture file at `path`: only files of the four formats, opened once, weighed
// from their headers before any decoder sees them (DecodeBudget.h). `largest` is the most of
// it a canvas can show. Never null: a picture that cannot be had says why in trouble(). The
// decoding is counted in `work` (a new count when none is given), which can also stop it.
std::shared_ptr<PictureSource> OpenPicture(const QString &path, QSize largest,
                                           std::shared_ptr<DecodeWork> work = {});
// The same for bytes already in memory (pasted or dropped image data).
std::shared_ptr<PictureSource> OpenPictureData(const QByteArray &data, QSize largest,
                                               std::shared_ptr<DecodeWork> work = {});
// The same for a picture another part of this process already decoded.
std::shared_ptr<PictureSource> OpenPictureImage(const QImage &image, QSize largest,
                                                std::shared_ptr<DecodeWork> work = {});

// A picture to be read for the underlay, not read yet: how to open and prepare it (on any
// thread), and whether it is small enough to be read at once, within the command that gave
// it. A larger one is read on a worker thread, so that the window never waits for it.
struct PictureRequest
{
    std::function<std::shared_ptr<PictureSource>(std::shared_ptr<DecodeWork>)> open;
    bool quick = true;
};
// Pictures up to this many pixels (512 x 512) are read in at most some 6 ms (a PNG photo,
// the slowest kind; BM_ReadUnderlay), well within a frame; a file larger than this many
// bytes is weighed on a worker whatever its header says.
constexpr qint64 kQuickPixels = qint64(1) << 18;
constexpr qint64 kQuickFileBytes = qint64(4) << 20;
PictureRequest pictureFromFile(const QString &path, QSize largest);
PictureRequest pictureFromData(const QByteArray &data, QSize largest);
PictureRequest pictureFromImage(const QImage &image, QSize largest);

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
