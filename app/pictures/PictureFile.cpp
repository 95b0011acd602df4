#include "PictureFile.h"

#include "DecodeWork.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A device that counts what its readers take out of it: the bytes a reader skipped by
// seeking are never counted, so the count shows what skipping saved.
template<typename Device>
class Counted : public Device
{
public:
    explicit Counted(DecodeWork *work) : work_(work) {}

protected:
    qint64 readData(char *data, qint64 length) override
    {
        const qint64 n = Device::readData(data, length);
        if (n > 0 && work_)
            work_->addBytesRead(n);
        return n;
    }

private:
    DecodeWork *work_;
};

quint16 be16(const QByteArray &b, qsizetype at) { return qFromBigEndian<quint16>(b.constData() + at); }

// The frame header of a JPEG among its first bytes: the markers are walked segment by
// segment, as a decoder walks them, up to the first start of frame.
std::optional<QSize> jpegSize(const QByteArray &head)
{
    qsizetype at = 2;
    while (at + 4 <= head.size()) {
        if (quint8(head[at]) != 0xFF)
            return std::nullopt;
        const int marker = quint8(head[at + 1]);
        if (marker == 0xFF) { // fill bytes before a marker
            ++at;
            continue;
        }
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > head.size())
                return std::nullopt;
            const int height = be16(head, at + 5), width = be16(head, at + 7);
            return width > 0 && height > 0 ? std::optional<QSize>(QSize(width, height)) : std::nullopt;
        }
        at += 2 + be16(head, at + 2);
    }
    return std::nullopt;
}

} // namespace

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

std::optional<QSize> sizeFromHead(const QByteArray &head)
{
    QSize size;
    switch (pictureFormatOf(head)) {
    case PictureFormat::Png:
        if (head.size() < 24)
            return std::nullopt;
        size = QSize(int(qFromBigEndian<quint32>(head.constData() + 16) & 0x7FFFFFFF),
                     int(qFromBigEndian<quint32>(head.constData() + 20) & 0x7FFFFFFF));
        break;
    case PictureFormat::Gif:
        if (head.size() < 10)
            return std::nullopt;
        size = QSize(qFromLittleEndian<quint16>(head.constData() + 6), qFromLittleEndian<quint16>(head.constData() + 8));
        break;
    case PictureFormat::Bmp:
        if (head.size() < 26)
            return std::nullopt;
        if (qFromLittleEndian<quint32>(head.constData() + 14) == 12)
            size = QSize(qFromLittleEndian<quint16>(head.constData() + 18), qFromLittleEndian<quint16>(head.constData() + 20));
        else
            size = QSize(qAbs(qFromLittleEndian<qint32>(head.constData() + 18)) & 0x7FFFFFFF,
                         qAbs(qFromLittleEndian<qint32>(head.constData() + 22)) & 0x7FFFFFFF);
        break;
    case PictureFormat::Jpeg:
        return jpegSize(head);
    case PictureFormat::None:
        return std::nullopt;
    }
    return size.isEmpty() ? std::nullopt : std::optional<QSize>(size);
}

namespace {

constexpr char16_t kEscapedByte = 0xDC00;

// The length of the UTF-8 sequence at `at`, or 0 where the bytes are no UTF-8 (a stray
// continuation byte, a sequence cut short, an overlong form, a surrogate, beyond U+10FFFF).
int utf8Length(const QByteArray &b, qsizetype at)
{
    const auto byte = [&b](qsizetype i) { return i < b.size() ? uchar(b[i]) : 0u; };
    const uint c = byte(at);
    const auto follows = [&](qsizetype i) { return (byte(i) & 0xC0) == 0x80; };
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF && follows(at + 1))
        return 2;
    if (c >= 0xE0 && c <= 0xEF && follows(at + 1) && follows(at + 2)) {
        const uint second = byte(at + 1);
        if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second >= 0xA0))
            return 0;
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4 && follows(at + 1) && follows(at + 2) && follows(at + 3)) {
        const uint second = byte(at + 1);
        if ((c == 0xF0 && second < 0x90) || (c == 0xF4 && second >= 0x90))
            return 0;
        return 4;
    }
    return 0;
}

} // namespace

QString fileNameFromBytes(const QByteArray &bytes)
{
    QString name;
    name.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const int n = utf8Length(bytes, i);
        if (n == 0) {
            name += QChar(char16_t(kEscapedByte + uchar(bytes[i])));
            ++i;
        } else {
            name += QString::fromUtf8(bytes.constData() + i, n);
            i += n;
        }
    }
    return name;
}

QByteArray fileNameBytes(const QString &name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t u = name[i].unicode();
        if (u >= kEscapedByte + 0x80 && u <= kEscapedByte + 0xFF) {
            bytes += char(u - kEscapedByte);
        } else if (QChar::isHighSurrogate(u) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            bytes += name.mid(i, 2).toUtf8();
            ++i;
        } else {
            bytes += QString(QChar(u)).toUtf8();
        }
    }
    return bytes;
}

QString shownFileName(const QString &name)
{
    QString shown = name;
    for (QChar &c : shown)
        if (c.unicode() >= kEscapedByte + 0x80 && c.unicode() <= kEscapedByte + 0xFF)
            c = QChar::ReplacementCharacter;
    return shown;
}

std::unique_ptr<QIODevice> openPictureFile(const QString &path, DecodeWork *work, FileTrouble *trouble)
{
    FileTrouble ignored;
    FileTrouble &why = trouble ? *trouble : ignored;
    why = FileTrouble::Missing;
    const QByteArray name = fileNameBytes(path);
    if (name.isEmpty())
        return nullptr;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        why = errno == EACCES || errno == EPERM ? FileTrouble::NoPermission
              : errno == ENOENT || errno == ENOTDIR ? FileTrouble::Missing
                                                    : FileTrouble::NotAFile;
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        why = S_ISDIR(st.st_mode) ? FileTrouble::Folder : FileTrouble::NotAFile;
        ::close(fd);
        return nullptr;
    }
    why = FileTrouble::None;
    auto file = std::make_unique<Counted<QFile>>(work);
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    return file;
}

std::unique_ptr<QIODevice> openPictureBytes(const QByteArray &bytes, DecodeWork *work)
{
    auto buffer = std::make_unique<Counted<QBuffer>>(work);
    buffer->setData(bytes);
    buffer->open(QIODevice::ReadOnly);
    return buffer;
}
