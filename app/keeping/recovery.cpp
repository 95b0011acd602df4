#include "recovery.h"

#include "safeWrite.h"
#include "savedPicture.h"

#include "result/textReading.h"
#include "sizeEntry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <atomic>

namespace {

constexpr int kCopyDelayMs = 1000;
const QString kLast = QStringLiteral("last.txt");

// A name no other program, nor another window of this one, has.
QString newCopyName()
{
    static std::atomic<int> windows{0};
    return QStringLiteral("picture-%1-%2-%3")
        .arg(QCoreApplication::applicationPid())
        .arg(QDateTime::currentMSecsSinceEpoch())
        .arg(windows++);
}

QString lockPathOf(const QString &copy)
{
    return copy.left(copy.size() - 4) + QStringLiteral(".lock");
}

std::optional<QImage> readCopy(const QString &path)
{
    QFile file(path);
    // A copy is a picture's text: some kilobytes. More is no copy of ours.
    if (!file.open(QIODevice::ReadOnly) || file.size() > (1 << 20))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (bytes.trimmed().isEmpty())
        return QImage();
    const ReadText read = readDotText(QString::fromUtf8(bytes), builtInPairs(), kLargestSide);
    if (read.outcome != ReadText::Picture)
        return std::nullopt;
    return read.dots;
}

bool hasBlack(const QImage &dots)
{
    for (int y = 0; y < dots.height(); ++y)
        for (int x = 0; x < dots.width(); ++x)
            if ((dots.pixel(x, y) & 0xFFFFFF) == 0)
                return true;
    return false;
}

} // namespace

QString recoveryFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/recovery");
}

Recovery::Recovery(const QString &folder, std::function<QImage()> picture, QObject *parent)
    : QObject(parent), folder_(folder), picture_(std::move(picture))
{
    writer_.setMaxThreadCount(1);
    QDir().mkpath(folder_);
    const QString name = newCopyName();
    copyPath_ = folder_ + QLatin1Char('/') + name + QStringLiteral(".txt");
    lock_ = std::make_unique<QLockFile>(lockPathOf(copyPath_));
    lock_->setStaleLockTime(0);
    lock_->tryLock(0);
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    timer_->setInterval(kCopyDelayMs);
    connect(timer_, &QTimer::timeout, this, &Recovery::writeNow);
}

Recovery::~Recovery() { endNormally(); }

void Recovery::changed()
{
    // Within a second of the first change, once for however many follow.
    if (!ended_ && !timer_->isActive())
        timer_->start();
}

void Recovery::writeNow()
{
    // The text is made here, on the window's thread, in a fraction of a millisecond; the
    // writing, which waits for the disk, on the worker, one write after another.
    const QByteArray bytes = pictureText(picture_()).toUtf8();
    const QString path = copyPath_;
    ++writes_;
    writing_ = QtConcurrent::run(&writer_, [path, bytes] { writeWhole(path, bytes, path); });
}

void Recovery::waitForWrites() { writer_.waitForDone(); }

void Recovery::endNormally()
{
    if (ended_)
        return;
    ended_ = true;
    timer_->stop();
    waitForWrites();
    // The picture as it was at the end, for the next program's 前回の絵を開く.
    if (!writeWhole(folder_ + QLatin1Char('/') + kLast, pictureText(picture_()).toUtf8(), kLast))
        QFile::remove(copyPath_);
    lock_->unlock();
}

std::optional<Recovery::LeftBehind> Recovery::newestLeftBehind(QStringList *setAside)
{
    std::optional<LeftBehind> newest;
    const QDir dir(folder_);
    for (const QFileInfo &info : dir.entryInfoList({QStringLiteral("picture-*.txt")}, QDir::Files, QDir::Time)) {
        if (info.absoluteFilePath() == copyPath_)
            continue;
        auto lock = std::make_shared<QLockFile>(lockPathOf(info.absoluteFilePath()));
        // Only a lock whose program is gone frees its copy, however old the lock.
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            continue;
        const std::optional<QImage> dots = readCopy(info.absoluteFilePath());
        if (!dots) {
            // Damaged or foreign: kept apart, never offered again, never lost.
            dir.mkpath(QStringLiteral("damaged"));
            const QString aside = dir.filePath(QStringLiteral("damaged/") + info.fileName());
            QFile::remove(aside);
            QFile::rename(info.absoluteFilePath(), aside);
            if (setAside)
                *setAside << aside;
            lock->unlock();
            continue;
        }
        if (!hasBlack(*dots)) {
            QFile::remove(info.absoluteFilePath());
            lock->unlock();
            continue;
        }
        // The newest only; the others stay, for the starts that follow.
        if (!newest) {
            newest = LeftBehind{info.absoluteFilePath(), *dots, info.lastModified(), lock};
            continue;
        }
        lock->unlock();
    }
    return newest;
}

void Recovery::restored(const LeftBehind &copy)
{
    QFile::remove(copy.path);
    if (copy.lock)
        copy.lock->unlock();
}

void Recovery::declined(const LeftBehind &copy)
{
    const QString last = folder_ + QLatin1Char('/') + kLast;
    QFile::remove(last);
    QFile::rename(copy.path, last);
    if (copy.lock)
        copy.lock->unlock();
}

std::optional<QImage> Recovery::lastPicture() const
{
    const QString last = folder_ + QLatin1Char('/') + kLast;
    if (!QFileInfo::exists(last))
        return std::nullopt;
    return readCopy(last);
}
