#pragma once

#include <QDateTime>
#include <QImage>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class DotPicture;
class QTimer;

// The recovery copy that every running program keeps of its picture, so that nothing the
// user makes is lost however the program ends.
//
// The copy is the picture's text (which holds its size), in a folder of the user's data,
// one file for each running program with a lock beside it (QLockFile), so that two programs
// at once never write over each other's copy. It is written within a second of a change
// (once for any number of changes), whole or not at all, by a worker thread. A normal end
// makes the copy the last program's picture (the command 前回の絵を開く) and takes the copy and
// its lock away; any other ending (a crash, a kill, a power loss, a logout's SIGTERM) leaves
// both, and the lock, whose program is gone, tells the next program to offer it.
//
// A copy left behind goes only once its successor is on the disk: a restored one once this
// program's own copy of the same picture is written, a declined one once a picture with dots
// replaces it as the last picture. Everything in the folder is read as untrusted input.
class Recovery : public QObject
{
    Q_OBJECT

public:
    // Copies left behind kept at most; older ones go at the start.
    static constexpr int kKeptCopies = 20;
    // A copy is a picture's text: some kilobytes. More is no copy of ours.
    static constexpr qint64 kMostCopyBytes = qint64(1) << 20;

    // `folder`: where the copies are kept; `picture` gives the picture as it is now.
    Recovery(const QString &folder, std::function<QImage()> picture, QObject *parent = nullptr);
    // The copy of `picture`, written whenever it changes.
    Recovery(const QString &folder, DotPicture *picture, QObject *parent = nullptr);
    // The end as a normal one, if endNormally() was not called.
    ~Recovery() override;

    // The picture changed.
    void changed();
    // Writes the copy now: the picture's text made here, written by the worker.
    void writeNow();
    // The program ends normally: the picture becomes the last program's, if it has dots, and
    // this program's copy goes.
    void endNormally();

    // A copy left by a program that did not end normally.
    struct LeftBehind
    {
        QString path;
        QImage dots;
        QDateTime when;
        std::shared_ptr<QLockFile> lock; // held while it is being decided on
    };
    // What looking through the folder found besides.
    struct Found
    {
        std::optional<LeftBehind> newest; // the newest copy with anything on it, its lock taken
        QStringList setAside;             // copies that did not read, moved to "damaged"
        QStringList notMoved;             // copies that did not read and could not be moved
    };
    // Copies that do not read are set aside in the folder "damaged"; empty ones are dropped;
    // beyond the newest kKeptCopies, the rest go (on the worker). Only what it takes to find
    // the newest copy is read.
    Found lookForLeftBehind();
    // It was brought back: this program's copy of it is written at once, and the one left
    // behind goes once that is on the disk.
    void restored(const LeftBehind &copy);
    // It was declined: kept as the last program's picture, for 前回の絵を開く.
    void declined(const LeftBehind &copy);

    // The picture the last program had when it ended.
    struct Last
    {
        enum Kind { None, Picture, Unreadable } kind = None;
        QImage dots;
    };
    Last lastPicture() const;

    QString folder() const { return folder_; }
    QString copyPath() const { return copyPath_; }
    // How many times the copy was asked to be written, and how many copies left behind were
    // read to find the newest.
    int writes() const { return writes_; }
    int copiesRead() const { return copiesRead_; }
    // Tells (cannotWrite) when the folder cannot even hold this program's lock: the copies
    // will not be written either. Called once the window shows.
    void checkAtStart();
    // Waits until what was written has reached the disk.
    void waitForWrites();
    // Whether the last write reached the disk.
    bool lastWriteOk() const { return lastOk_->load(); }

signals:
    // The copy could not be written (the folder a file, read-only, the disk full): told once
    // until a write succeeds again; every change goes on trying.
    void cannotWrite(const QString &folder);

private:
    void written(bool ok);

    QString folder_;
    std::function<QImage()> picture_;
    QString copyPath_;
    std::unique_ptr<QLockFile> lock_;
    QTimer *timer_ = nullptr;
    QThreadPool writer_;
    int writes_ = 0;
    int copiesRead_ = 0;
    // Set by the worker, read by the window's thread.
    std::shared_ptr<std::atomic<bool>> lastOk_ = std::make_shared<std::atomic<bool>>(true);
    bool told_ = false;
    bool ended_ = false;
};

// The folder the recovery copies are kept in: the user's data folder for the program.
QString recoveryFolder();
// Whether a picture has anything on it: a dot that is not white.
bool hasDots(const QImage &dots);
