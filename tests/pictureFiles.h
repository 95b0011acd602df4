#pragma once

// Small picture files made on the spot, good and bad, for the underlay tests.

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QString>
#include <QtEndian>

#include <vector>

namespace pictureFiles {

inline void appendLe16(QByteArray &b, int v)
{
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

inline void appendLe32(QByteArray &b, quint32 v)
{
    appendLe16(b, int(v & 0xFFFF));
    appendLe16(b, int(v >> 16));
}

// A GIF of up to four colours. Qt reads GIF but cannot write it, so it is encoded here:
// a clear code after every two pixels keeps the LZW codes three bits wide.
inline QByteArray gif(int width, int height, const std::vector<QRgb> &palette,
                      const std::vector<int> &pixels, int screenWidth = 0, int screenHeight = 0)
{
    QByteArray b("GIF89a");
    appendLe16(b, screenWidth ? screenWidth : width);
    appendLe16(b, screenHeight ? screenHeight : height);
    b.append(char(0x81)).append(char(0)).append(char(0));
    for (int i = 0; i < 4; ++i) {
        const QRgb c = i < int(palette.size()) ? palette[i] : 0;
        b.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
    }
    b.append(char(0x2C));
    appendLe16(b, 0);
    appendLe16(b, 0);
    appendLe16(b, width);
    appendLe16(b, height);
    b.append(char(0));
    b.append(char(2)); // minimum code size

    QByteArray data;
    quint32 acc = 0;
    int bits = 0;
    auto put = [&](int code) {
        acc |= quint32(code) << bits;
        bits += 3;
        while (bits >= 8) {
            data.append(char(acc & 0xFF));
            acc >>= 8;
            bits -= 8;
        }
    };
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (i % 2 == 0)
            put(4);
        put(pixels[i]);
    }
    put(5);
    if (bits > 0)
        data.append(char(acc & 0xFF));
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        b.append(char(block.size())).append(block);
    }
    b.append(char(0)).append(char(0x3B));
    return b;
}

// The header of a 24-bit BMP of the given size, with no pixels behind it.
inline QByteArray bmpHeader(int width, int height)
{
    QByteArray b("BM");
    const quint32 row = (quint32(width) * 3 + 3) & ~3u;
    appendLe32(b, 54 + row * quint32(height));
    appendLe32(b, 0);
    appendLe32(b, 54);
    appendLe32(b, 40);
    appendLe32(b, quint32(width));
    appendLe32(b, quint32(height));
    appendLe16(b, 1);
    appendLe16(b, 24);
    appendLe32(b, 0);
    appendLe32(b, row * quint32(height));
    appendLe32(b, 2835);
    appendLe32(b, 2835);
    appendLe32(b, 0);
    appendLe32(b, 0);
    return b;
}

// A picture in one colour with a differently coloured top-left pixel, in a format Qt writes.
inline QByteArray encoded(const char *format, int width, int height, QRgb fill, QRgb corner)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    image.setPixel(0, 0, corner);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 100);
    return bytes;
}

inline bool write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace pictureFiles
