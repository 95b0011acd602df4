#pragma once

#include <QDateTime>
#include <QFuture>
#include <QImage>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <functional>
#include <memory>
#include <optional>

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
class Recovery : public QObject
{
    Q_OBJECT

public:
    // `folder`: where the copies are kept; `picture` gives the picture as it is now.
    Recovery(const QString &folder, std::function<QImage()> picture, QObject *parent = nullptr);
    // The end as a normal one, if endNormally() was not called.
    ~Recovery() override;

    // The picture changed.
    void changed();
    // Writes the copy now: the picture's text made here, written by the worker.
    void writeNow();
    // The program ends normally: the copy written now becomes the last program's picture.
    void endNormally();

    // A copy left by a program that did not end normally.
    struct LeftBehind
    {
        QString path;
        QImage dots;
        QDateTime when;
        std::shared_ptr<QLockFile> lock; // held while it is being decided on
    };
    // The newest copy left behind with anything black on it, its lock taken, or nothing.
    // Copies that do not read are set aside in the folder "damaged" and named in
    // `setAside`; empty ones are dropped.
    std::optional<LeftBehind> newestLeftBehind(QStringList *setAside);
    // It was brought back: it is gone from the folder.
    void restored(const LeftBehind &copy);
    // It was declined: kept as the last program's picture, for 前回の絵を開く.
    void declined(const LeftBehind &copy);
    // The picture the last program had when it ended, or nothing.
    std::optional<QImage> lastPicture() const;

    QString folder() const { return folder_; }
    QString copyPath() const { return copyPath_; }
    // How many times the copy was written so far.
    int writes() const { return writes_; }
    // Waits until what was written has reached the disk.
    void waitForWrites();

private:
    QString folder_;
    std::function<QImage()> picture_;
    QString copyPath_;
    std::unique_ptr<QLockFile> lock_;
    QTimer *timer_ = nullptr;
    QThreadPool writer_;
    QFuture<void> writing_;
    int writes_ = 0;
    bool ended_ = false;
};

// The folder the recovery copies are kept in: the user's data folder for the program.
QString recoveryFolder();
