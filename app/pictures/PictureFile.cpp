#include "PictureFile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

PictureFormat pictureFormatOf(const QByteArray &b)
{
    if (b.startsWith("BM"))
        return PictureFormat::Bmp;
    if (b.startsWith("\xFF\xD8\xFF"))
        return PictureFormat::Jpeg;
    if (b.startsWith("GIF87a") || b.startsWith("GIF89a"))
        return PictureFormat::Gif;
    if (b.startsWith("\x89PNG\r\n\x1A\n"))
        return PictureFormat::Png;
    return PictureFormat::None;
}

PictureFormat pictureFormatOf(QIODevice *device) { return pictureFormatOf(device->peek(8)); }

std::unique_ptr<QIODevice> openPictureFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty())
        return nullptr;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    return file;
}
