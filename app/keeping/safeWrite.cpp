#include "safeWrite.h"

#include "pictures/PictureFile.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <libgen.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

WriteTrouble troubleOf(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return WriteTrouble::NoPermission;
    case ENOENT:
    case ENOTDIR:
        return WriteTrouble::NoFolder;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return WriteTrouble::Full;
    case EISDIR:
        return WriteTrouble::Folder;
    default:
        return WriteTrouble::Other;
    }
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        done += n;
    }
    return true;
}

QByteArray folderOf(const QByteArray &file)
{
    QByteArray copy = file;
    return QByteArray(::dirname(copy.data()));
}

} // namespace

WriteTrouble writeWholeFile(const QString &path, const QByteArray &bytes)
{
    QByteArray target = fileNameBytes(path);
    if (target.isEmpty())
        return WriteTrouble::NoFolder;
    struct stat st {};
    bool older = false;
    if (::lstat(target.constData(), &st) == 0) {
        if (S_ISLNK(st.st_mode)) {
            // Written through the link, so that the link stays a link; one that names nothing
            // is written as the file it names.
            char resolved[PATH_MAX];
            if (::realpath(target.constData(), resolved))
                target = QByteArray(resolved);
            if (::stat(target.constData(), &st) != 0)
                st = {};
        }
        if (st.st_mode != 0) {
            if (S_ISDIR(st.st_mode))
                return WriteTrouble::Folder;
            if (!S_ISREG(st.st_mode))
                return WriteTrouble::NotAFile;
            if (::access(target.constData(), W_OK) != 0)
                return errno == EROFS ? WriteTrouble::NoPermission : WriteTrouble::ReadOnlyFile;
            older = true;
        }
    }

    const QByteArray folder = folderOf(target);
    struct stat folderStat {};
    if (::stat(folder.constData(), &folderStat) != 0)
        return troubleOf(errno);
    if (!S_ISDIR(folderStat.st_mode))
        return WriteTrouble::NoFolder;

    // A name of its own beside the file, created new (never an existing one followed), with
    // the permissions a new file gets; a file replaced keeps its own.
    int fd = -1;
    QByteArray temporary;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = folder + "/.gridglyph-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return troubleOf(errno);
    }
    if (fd < 0)
        return WriteTrouble::Other;
    bool ok = writeAll(fd, bytes);
    int error = errno;
    if (ok && older && ::fchmod(fd, st.st_mode & 07777) != 0) {
        ok = false;
        error = errno;
    }
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        error = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary.constData(), target.constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.constData());
        return troubleOf(error);
    }
    // The new name itself on the disk too, where the folder allows it.
    const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return WriteTrouble::None;
}

QString writeTroubleText(WriteTrouble trouble, const QString &shownName, bool older, bool japanese)
{
    QString why;
    switch (trouble) {
    case WriteTrouble::None:
        return QString();
    case WriteTrouble::Folder:
        why = japanese ? QCoreApplication::translate("safeWrite", "同じ名前のフォルダーがあります。") : QStringLiteral("a folder has that name");
        break;
    case WriteTrouble::NoFolder:
        why = japanese ? QCoreApplication::translate("safeWrite", "保存先のフォルダーがありません。") : QStringLiteral("its folder does not exist");
        break;
    case WriteTrouble::NotAFile:
        why = japanese ? QCoreApplication::translate("safeWrite", "その名前はファイルではなく、デバイスかパイプです。")
                       : QStringLiteral("that name is a device or a pipe, not a file");
        break;
    case WriteTrouble::ReadOnlyFile:
        why = japanese ? QCoreApplication::translate("safeWrite", "このファイルは読み取り専用です。") : QStringLiteral("the file is read-only");
        break;
    case WriteTrouble::NoPermission:
        why = japanese ? QCoreApplication::translate("safeWrite", "このフォルダーには書き込む権限がありません。")
                       : QStringLiteral("the folder may not be written");
        break;
    case WriteTrouble::Full:
        why = japanese ? QCoreApplication::translate("safeWrite", "ディスクに空きがありません。") : QStringLiteral("the disk is full");
        break;
    case WriteTrouble::Other:
        why = japanese ? QCoreApplication::translate("safeWrite", "書き込めませんでした。") : QStringLiteral("it could not be written");
        break;
    }
    if (japanese)
        return QCoreApplication::translate("safeWrite", "「%1」に保存できませんでした。%2%3")
            .arg(shownName, why, older ? QCoreApplication::translate("safeWrite", "前からあるファイルはそのままです。") : QString());
    return QStringLiteral("%1: not saved: %2%3").arg(shownName, why, older ? QStringLiteral("; the file there is as it was") : QString());
}

std::optional<QString> writeWhole(const QString &path, const QByteArray &bytes, const QString &shownName)
{
    const bool older = pathKind(path) == PathKind::File;
    const WriteTrouble trouble = writeWholeFile(path, bytes);
    if (trouble == WriteTrouble::None)
        return std::nullopt;
    return writeTroubleText(trouble, shownName, older);
}

PathKind pathKind(const QString &path)
{
    struct stat st {};
    const QByteArray name = fileNameBytes(path);
    if (name.isEmpty() || ::stat(name.constData(), &st) != 0)
        return PathKind::Nothing;
    return S_ISREG(st.st_mode) ? PathKind::File : S_ISDIR(st.st_mode) ? PathKind::Folder : PathKind::Other;
}

std::optional<QByteArray> readOwnFile(const QString &path, qint64 most, bool *present)
{
    if (present)
        *present = false;
    const QByteArray name = fileNameBytes(path);
    const int fd = name.isEmpty() ? -1 : ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (present)
            *present = errno != ENOENT && errno != ENOTDIR;
        return std::nullopt;
    }
    if (present)
        *present = true;
    struct stat st {};
    QByteArray bytes;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= most;
    // Read to the end, however the size changed since: never past the limit.
    while (ok) {
        char buffer[1 << 14];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ok = false;
        else if (n == 0)
            break;
        else if (bytes.size() + n > most)
            ok = false;
        else
            bytes.append(buffer, qsizetype(n));
    }
    ::close(fd);
    if (!ok)
        return std::nullopt;
    return bytes;
}
