#include "recovery.h"

#include "safeWrite.h"

#include "dotImage.h"
#include "dotPicture.h"
#include "savedPicture.h"

#include "result/textReading.h"
#include "sizeEntry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int kCopyDelayMs = 1000;
const QString kLast = QStringLiteral("last.txt");

// A name no other program, nor another window of this one, has; its second number says
// when it was made, so that the newest is found by its name alone.
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

// When a copy was made, from its name ("picture-PID-MSEC-N.txt"), and its window's number.
std::pair<qint64, int> madeAt(const QString &name)
{
    const QStringList parts = name.chopped(4).split(QLatin1Char('-'));
    if (parts.size() != 4)
        return {-1, 0};
    bool ok = false;
    const qint64 when = parts[2].toLongLong(&ok);
    return {ok ? when : -1, parts[3].toInt()};
}

std::optional<QImage> readCopy(const QString &path, bool *present = nullptr)
{
    const std::optional<QByteArray> bytes = readOwnFile(path, Recovery::kMostCopyBytes, present);
    if (!bytes)
        return std::nullopt;
    if (bytes->trimmed().isEmpty())
        return QImage();
    // Its own text: the program's squares, or a colour picture's emoji squares.
    const TextIntake read = readPictureText(QString::fromUtf8(*bytes), builtInPairs(), kLargestSide);
    if (read.kind != TextIntake::Picture)
        return std::nullopt;
    return read.dots;
}

} // namespace

bool hasDots(const QImage &dots)
{
    for (int y = 0; y < dots.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(dots.constScanLine(y));
        for (int x = 0; x < dots.width(); ++x)
            if ((line[x] & 0xFFFFFFu) != 0xFFFFFFu)
                return true;
    }
    return false;
}

QString recoveryFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/recovery");
}

Recovery::Recovery(const QString &folder, std::function<QImage()> picture, QObject *parent)
    : QObject(parent), folder_(folder), picture_(std::move(picture))
{
    writer_.setMaxThreadCount(1);
    QDir().mkpath(folder_);
    copyPath_ = folder_ + QLatin1Char('/') + newCopyName() + QStringLiteral(".txt");
    lock_ = std::make_unique<QLockFile>(lockPathOf(copyPath_));
    lock_->setStaleLockTime(0);
    lock_->tryLock(0);
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    timer_->setInterval(kCopyDelayMs);
    connect(timer_, &QTimer::timeout, this, &Recovery::writeNow);
}

Recovery::Recovery(const QString &folder, DotPicture *picture, QObject *parent)
    : Recovery(folder, [picture] { return picture->image(); }, parent)
{
    // Its size too: the copy holds it.
    connect(picture, &DotPicture::changed, this, &Recovery::changed);
    connect(picture, &DotPicture::resized, this, &Recovery::changed);
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
    timer_->stop();
    // The text is made here, on the window's thread, in a fraction of a millisecond; the
    // writing, which waits for the disk, on the worker, one write after another.
    const QImage picture = picture_();
    const QByteArray bytes = pictureText(picture, hasColour(picture)).toUtf8();
    const QString folder = folder_, path = copyPath_;
    ++writes_;
    QPointer<Recovery> self(this);
    const std::shared_ptr<std::atomic<bool>> lastOk = lastOk_;
    writer_.start([self, lastOk, folder, path, bytes] {
        // The folder may have been taken away, or come back, since the last write.
        if (!QFileInfo(folder).isDir())
            QDir().mkpath(folder);
        const bool ok = writeWholeFile(path, bytes) == WriteTrouble::None;
        lastOk->store(ok);
        // Told on the window's thread, where the guard is read; nothing when the recovery is
        // gone by then (its queued calls go with it).
        QMetaObject::invokeMethod(QCoreApplication::instance(), [self, ok] {
            if (self)
                self->written(ok);
        }, Qt::QueuedConnection);
    });
}

void Recovery::written(bool ok)
{
    if (ok) {
        told_ = false;
        return;
    }
    if (!told_ && !ended_) {
        told_ = true;
        emit cannotWrite(folder_);
    }
}

void Recovery::waitForWrites() { writer_.waitForDone(); }

void Recovery::checkAtStart()
{
    if (lock_->isLocked() || told_)
        return;
    told_ = true;
    emit cannotWrite(folder_);
}

void Recovery::endNormally()
{
    if (ended_)
        return;
    ended_ = true;
    timer_->stop();
    waitForWrites();
    // The picture as it was at the end, for the next program's 前回の絵を開く; an empty one
    // does not replace the last picture that had something on it.
    const QImage picture = picture_();
    const bool kept = !hasDots(picture)
                      || writeWholeFile(folder_ + QLatin1Char('/') + kLast, pictureText(picture, hasColour(picture)).toUtf8())
                             == WriteTrouble::None;
    if (kept)
        QFile::remove(copyPath_);
    lock_->unlock();
}

Recovery::Found Recovery::lookForLeftBehind()
{
    Found found;
    const QDir dir(folder_);
    // Newest first by the time in the name, then by the time the file was written; nothing
    // read but the names and what it takes to find the newest.
    QFileInfoList copies = dir.entryInfoList({QStringLiteral("picture-*.txt")}, QDir::Files | QDir::System | QDir::Hidden);
    std::vector<std::pair<std::pair<qint64, int>, QFileInfo>> sorted;
    sorted.reserve(size_t(copies.size()));
    for (const QFileInfo &info : copies)
        if (info.absoluteFilePath() != copyPath_)
            sorted.emplace_back(madeAt(info.fileName()), info);
    std::sort(sorted.begin(), sorted.end(), [](const auto &a, const auto &b) {
        if (a.first != b.first)
            return a.first > b.first;
        return a.second.lastModified() > b.second.lastModified();
    });

    // Read newest first until the newest with anything on it is found; what was read and
    // does not stay (set aside, or empty) does not count towards the copies kept.
    QStringList beyond;
    int kept = 0;
    for (size_t i = 0; i < sorted.size(); ++i) {
        const QString path = sorted[i].second.absoluteFilePath();
        if (found.newest) {
            if (++kept > kKeptCopies)
                beyond << path;
            continue;
        }
        auto lock = std::make_shared<QLockFile>(lockPathOf(path));
        // Only a lock whose program is gone frees its copy, however old the lock.
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            continue;
        ++copiesRead_;
        const std::optional<QImage> dots = readCopy(path);
        if (!dots) {
            // Damaged, foreign, a link or a device: kept apart, never offered again, never lost.
            dir.mkpath(QStringLiteral("damaged"));
            const QString aside = dir.filePath(QStringLiteral("damaged/") + sorted[i].second.fileName());
            if (QFileInfo(aside).isFile())
                QFile::remove(aside);
            if (QFile::rename(path, aside))
                found.setAside << aside;
            else
                found.notMoved << path;
            lock->unlock();
            continue;
        }
        if (!hasDots(*dots)) {
            QFile::remove(path);
            lock->unlock();
            continue;
        }
        found.newest = LeftBehind{path, *dots, sorted[i].second.lastModified(), lock};
        kept = 1;
    }
    // The oldest go, each only once its program is known to be gone; on the worker, so that
    // a folder of thousands never holds up the window.
    if (!beyond.isEmpty())
        writer_.start([beyond] {
            for (const QString &path : beyond) {
                QLockFile lock(lockPathOf(path));
                lock.setStaleLockTime(0);
                if (!lock.tryLock(0))
                    continue;
                QFile::remove(path);
                lock.unlock();
            }
        });
    return found;
}

void Recovery::restored(const LeftBehind &copy)
{
    // This program's copy of the picture first: the one left behind goes only once the
    // picture is on the disk again, whatever happens in between.
    writeNow();
    waitForWrites();
    if (lastWriteOk())
        QFile::remove(copy.path);
    if (copy.lock)
        copy.lock->unlock();
}

void Recovery::declined(const LeftBehind &copy)
{
    const QString last = folder_ + QLatin1Char('/') + kLast;
    if (pathKind(last) != PathKind::Folder) {
        QFile::remove(last);
        QFile::rename(copy.path, last);
    }
    if (copy.lock)
        copy.lock->unlock();
}

Recovery::Last Recovery::lastPicture() const
{
    bool present = false;
    const std::optional<QImage> dots = readCopy(folder_ + QLatin1Char('/') + kLast, &present);
    Last last;
    if (dots && !dots->isNull()) {
        last.kind = Last::Picture;
        last.dots = *dots;
    } else if (present && !dots) {
        last.kind = Last::Unreadable;
    }
    return last;
}
