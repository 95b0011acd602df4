#include "safeWrite.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace {

QString reason(int error, const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("同じ名前のフォルダーがあります。");
    if (!info.absoluteDir().exists())
        return QStringLiteral("保存先のフォルダーがありません。");
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("このフォルダーには書き込む権限がありません。");
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("ディスクに空きがありません。");
    default:
        return QStringLiteral("書き込めませんでした。");
    }
}

} // namespace

std::optional<QString> writeWhole(const QString &path, const QByteArray &bytes, const QString &shownName)
{
    const bool older = QFileInfo(path).isFile();
    QSaveFile file(path);
    errno = 0;
    bool ok = !QFileInfo(path).isDir() && file.open(QIODevice::WriteOnly);
    int error = errno;
    if (ok) {
        ok = file.write(bytes) == bytes.size() && file.flush();
        error = errno;
        if (ok) {
            errno = 0;
            ok = file.commit();
            error = errno;
        } else {
            file.cancelWriting();
        }
    }
    if (ok)
        return std::nullopt;
    return QStringLiteral("「%1」に保存できませんでした。%2%3")
        .arg(shownName, reason(error, path),
             older ? QStringLiteral("前からあるファイルはそのままです。") : QString());
}
