#pragma once

// Small picture files made on the spot, good and bad, for the underlay tests.

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QString>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>
#include <functional>
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
                      const std::vector<int> &pixels, int screenWidth = 0, int screenHeight = 0,
                      int frames = 1)
{
    QByteArray b("GIF89a");
    appendLe16(b, screenWidth ? screenWidth : width);
    appendLe16(b, screenHeight ? screenHeight : height);
    b.append(char(0x81)).append(char(0)).append(char(0));
    for (int i = 0; i < 4; ++i) {
        const QRgb c = i < int(palette.size()) ? palette[i] : 0;
        b.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
    }
    const qsizetype frameStart = b.size();
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
    b.append(char(0));
    const QByteArray frame = b.mid(frameStart);
    for (int i = 1; i < frames; ++i)
        b.append(frame);
    b.append(char(0x3B));
    return b;
}

// The header of a 24-bit BMP of the given size, with no pixels behind it. A negative
// height stores the rows top down.
inline QByteArray bmpHeader(int width, int height)
{
    QByteArray b("BM");
    const quint32 row = (quint32(width) * 3 + 3) & ~3u;
    appendLe32(b, 54 + row * quint32(std::abs(height)));
    appendLe32(b, 0);
    appendLe32(b, 54);
    appendLe32(b, 40);
    appendLe32(b, quint32(width));
    appendLe32(b, quint32(height));
    appendLe16(b, 1);
    appendLe16(b, 24);
    appendLe32(b, 0);
    appendLe32(b, row * quint32(std::abs(height)));
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

// Writes bits as JPEG (most significant first, 0xFF stuffed) or deflate (least significant
// first) streams do.
class BitWriter
{
public:
    explicit BitWriter(bool jpeg) : jpeg_(jpeg) {}
    void put(quint64 value, int count)
    {
        acc_ = jpeg_ ? acc_ << count | value : acc_ | value << used_;
        used_ += count;
        while (used_ >= 8) {
            used_ -= 8;
            out(jpeg_ ? char(acc_ >> used_) : char(acc_));
            if (!jpeg_)
                acc_ >>= 8;
        }
        if (jpeg_)
            acc_ &= (quint64(1) << used_) - 1;
    }
    // `count` zero bits, whole bytes at once.
    void zeros(qint64 count)
    {
        while (count > 0 && used_ != 0) {
            put(0, 1);
            --count;
        }
        bytes.append(QByteArray(count / 8, '\0'));
        put(0, int(count % 8));
    }
    QByteArray finish()
    {
        if (used_ > 0)
            put(jpeg_ ? (1u << (8 - used_)) - 1 : 0, 8 - used_); // JPEG pads with 1 bits
        return bytes;
    }
    QByteArray bytes;

private:
    void out(char c)
    {
        bytes.append(c);
        if (jpeg_ && c == '\xFF')
            bytes.append('\0');
    }
    bool jpeg_;
    quint64 acc_ = 0;
    int used_ = 0;
};

inline void appendBe16(QByteArray &b, int v) { b.append(char(v >> 8)).append(char(v & 0xFF)); }

// A mid-grey JPEG (every coefficient 0) of any size the format allows, made in
// milliseconds: one-bit Huffman codes make a baseline scan all zero bytes, and runs of
// empty blocks make a progressive one's AC scans a few bytes each. `scanBytes` cuts the
// entropy-coded data short, for files whose header claims more than they hold.
inline QByteArray jpeg(int width, int height, int components, bool progressive,
                       qint64 scanBytes = -1)
{
    QByteArray b("\xFF\xD8", 2);
    auto segment = [&b](int marker, const QByteArray &body) {
        b.append(char(0xFF)).append(char(marker));
        appendBe16(b, int(body.size()) + 2);
        b.append(body);
    };
    segment(0xDB, QByteArray(1, '\0') + QByteArray(64, '\1'));
    QByteArray sof;
    sof.append(char(8));
    appendBe16(sof, height);
    appendBe16(sof, width);
    sof.append(char(components));
    for (int c = 1; c <= components; ++c)
        sof.append(char(c)).append(char(0x11)).append(char(0));
    segment(progressive ? 0xC2 : 0xC0, sof);
    // DC table 0: category 0 is the code "0". AC table 0: end of block ("0") for a
    // baseline scan, the fifteen end-of-block runs EOB0..EOB14 in four bits otherwise.
    segment(0xC4, QByteArray("\x00\x01", 2) + QByteArray(15, '\0') + QByteArray(1, '\0'));
    QByteArray ac("\x10", 1);
    if (progressive) {
        ac += QByteArray("\x00\x00\x00\x0F", 4) + QByteArray(12, '\0');
        for (int r = 0; r <= 14; ++r)
            ac.append(char(r << 4));
    } else {
        ac += QByteArray("\x01", 1) + QByteArray(15, '\0') + QByteArray(1, '\0');
    }
    segment(0xC4, ac);
    const qint64 blocks = qint64((width + 7) / 8) * ((height + 7) / 8);
    const auto cut = [scanBytes](qint64 bits) { return scanBytes < 0 ? bits : std::min(bits, 8 * scanBytes); };
    auto scan = [&](const QByteArray &head, const QByteArray &data) {
        segment(0xDA, head);
        b.append(scanBytes < 0 ? data : data.left(scanBytes));
    };
    QByteArray head(1, char(components));
    for (int c = 1; c <= components; ++c)
        head.append(char(c)).append(char(0));
    if (!progressive) {
        BitWriter bits(true);
        bits.zeros(cut(2 * blocks * components));
        scan(head + QByteArray("\x00\x3F\x00", 3), bits.finish());
    } else {
        BitWriter dc(true);
        dc.zeros(cut(blocks * components));
        scan(head + QByteArray("\x00\x00\x00", 3), dc.finish());
        for (int c = 1; c <= components && scanBytes < 0; ++c) {
            BitWriter runs(true);
            for (qint64 left = blocks; left > 0;) {
                const qint64 run = std::min<qint64>(left, 32767);
                int r = 0;
                while ((qint64(2) << r) <= run)
                    ++r;
                runs.put(quint32(r), 4);
                runs.put(quint32(run - (qint64(1) << r)), r);
                left -= run;
            }
            scan(QByteArray(1, '\1') + char(c) + QByteArray("\x00\x01\x3F\x00", 4), runs.finish());
        }
    }
    b.append("\xFF\xD9", 2);
    return b;
}

inline quint32 crc32(const QByteArray &data, quint32 crc = 0)
{
    static const std::vector<quint32> table = [] {
        std::vector<quint32> t(256);
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (char ch : data)
        crc = table[(crc ^ quint8(ch)) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

// A black PNG (every byte of its image data 0) of any size, made without compressing
// gigabytes: the zlib stream is one literal 0 followed by copies of 258 bytes.
inline QByteArray png(int width, int height, int colorType, int bitDepth, bool interlaced = false)
{
    const int channels = colorType == 2 ? 3 : 1;
    auto rowBytes = [&](qint64 w) { return 1 + (w * channels * bitDepth + 7) / 8; };
    qint64 raw = 0;
    if (!interlaced) {
        raw = height * rowBytes(width);
    } else {
        const int x0[] = {0, 4, 0, 2, 0, 1, 0}, dx[] = {8, 8, 4, 4, 2, 2, 1};
        const int y0[] = {0, 0, 4, 0, 2, 0, 1}, dy[] = {8, 8, 8, 4, 4, 2, 2};
        for (int p = 0; p < 7; ++p) {
            const qint64 w = (width - x0[p] + dx[p] - 1) / dx[p], h = (height - y0[p] + dy[p] - 1) / dy[p];
            if (w > 0 && h > 0)
                raw += h * rowBytes(w);
        }
    }
    BitWriter z(false);
    z.put(1, 1); // the last block
    z.put(1, 2); // fixed Huffman codes
    z.put(0x0C, 8); // literal 0, its code bits reversed
    qint64 left = raw - 1;
    for (; left >= 258; left -= 258)
        z.put(0xA3, 13); // length 258 (code 285) at distance 1 (code 0), reversed
    for (; left > 0; --left)
        z.put(0x0C, 8);
    z.put(0, 7); // end of block
    QByteArray idat("\x78\x01", 2);
    idat += z.finish();
    const quint32 adler = quint32(raw % 65521) << 16 | 1;
    for (int s = 24; s >= 0; s -= 8)
        idat.append(char(adler >> s));

    QByteArray b("\x89PNG\r\n\x1A\n", 8);
    auto chunk = [&b](const char *type, const QByteArray &body) {
        const QByteArray typed = QByteArray(type) + body;
        for (int s = 24; s >= 0; s -= 8)
            b.append(char(quint32(body.size()) >> s));
        b.append(typed);
        const quint32 crc = crc32(typed);
        for (int s = 24; s >= 0; s -= 8)
            b.append(char(crc >> s));
    };
    QByteArray ihdr;
    for (int v : {width, height})
        for (int s = 24; s >= 0; s -= 8)
            ihdr.append(char(quint32(v) >> s));
    ihdr.append(char(bitDepth)).append(char(colorType)).append('\0').append('\0').append(char(interlaced));
    chunk("IHDR", ihdr);
    chunk("IDAT", idat);
    chunk("IEND", QByteArray());
    return b;
}

// Large and hostile picture files, made in seconds, and what loading each must give.
struct CorpusFile
{
    enum Outcome { Loaded, TooLarge, Unreadable };
    const char *name;
    Outcome outcome;
    QRgb at5x5; // the picture's colour at (5, 5), when it loads
    std::function<QByteArray()> make;
};

inline std::vector<CorpusFile> largeAndHostileFiles()
{
    const QRgb black = qRgb(0, 0, 0), grey = qRgb(128, 128, 128), blue = qRgb(0, 0, 255);
    const std::vector<int> blueFrame(100 * 100, 1);
    // Blue rows stored first, red rows last: a bottom-up file shows red at the top.
    auto bmp = [](int width, int height) {
        QByteArray b = bmpHeader(width, height);
        const qsizetype row = (qsizetype(width) * 3 + 3) & ~3;
        QByteArray blueRow(row, '\0'), redRow(row, '\0');
        for (int x = 0; x < width; ++x) {
            blueRow[3 * x] = '\xFF';
            redRow[3 * x + 2] = '\xFF';
        }
        for (int y = 0; y < std::abs(height); ++y)
            b += y * 2 < std::abs(height) ? blueRow : redRow;
        return b;
    };
    return {
        {"baseline jpeg 16000", CorpusFile::Loaded, grey, [] { return jpeg(16000, 16000, 3, false); }},
        {"baseline jpeg 40000", CorpusFile::Loaded, grey, [] { return jpeg(40000, 40000, 1, false); }},
        {"progressive jpeg 16000", CorpusFile::TooLarge, 0, [] { return jpeg(16000, 16000, 3, true); }},
        {"progressive jpeg 40000", CorpusFile::TooLarge, 0, [] { return jpeg(40000, 40000, 1, true); }},
        {"progressive jpeg claiming 65500", CorpusFile::TooLarge, 0, [] { return jpeg(65500, 65500, 3, true, 64); }},
        {"progressive jpeg claiming 65535", CorpusFile::Unreadable, 0, [] { return jpeg(65535, 65535, 3, true, 64); }},
        {"progressive jpeg 2000", CorpusFile::Loaded, grey, [] { return jpeg(2000, 2000, 3, true); }},
        {"png 8000 rgb", CorpusFile::Loaded, black, [] { return png(8000, 8000, 2, 8); }},
        {"png 8000 1-bit", CorpusFile::Loaded, black, [] { return png(8000, 8000, 0, 1); }},
        {"png 30000 rgb", CorpusFile::Loaded, black, [] { return png(30000, 30000, 2, 8); }},
        {"png 30000 1-bit", CorpusFile::Loaded, black, [] { return png(30000, 30000, 0, 1); }},
        {"interlaced png 6000", CorpusFile::Loaded, black, [] { return png(6000, 6000, 2, 8, true); }},
        {"interlaced png 8000", CorpusFile::TooLarge, 0, [] { return png(8000, 8000, 2, 8, true); }},
        {"bmp 6000", CorpusFile::Loaded, qRgb(255, 0, 0), [bmp] { return bmp(6000, 6000); }},
        {"bmp top-down", CorpusFile::Loaded, blue, [bmp] { return bmp(40, -40); }},
        {"gif screen 65535, frame 100", CorpusFile::TooLarge, 0,
         [blueFrame] { return gif(100, 100, {0, blue}, blueFrame, 65535, 65535); }},
        {"gif of 5000 frames", CorpusFile::Loaded, blue,
         [blueFrame] { return gif(100, 100, {0, blue}, blueFrame, 0, 0, 5000); }},
    };
}

inline bool write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace pictureFiles
