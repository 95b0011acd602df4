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

#include <fcntl.h>
#include <unistd.h>

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

inline bool write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
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
                       qint64 scanBytes = -1, std::vector<int> bands = {})
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
        // Each component's AC coefficients in `bands[c]` scans of their own (1: all in one):
        // a file of as many scans as a test needs.
        for (int c = 1; c <= components && scanBytes < 0; ++c) {
            const int n = c <= int(bands.size()) ? bands[size_t(c - 1)] : 1;
            for (int band = 0; band < n; ++band) {
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
                const int first = 1 + band * 63 / n, last = (band + 1) * 63 / n;
                scan(QByteArray(1, '\1') + char(c) + char(0) + char(first) + char(last) + char(0), runs.finish());
            }
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

// A picture with structure, in four colours (so that every format can hold it exactly):
// the top row red on its left half and green on its right, the bottom row blue, the left
// column green and the right column red between them, white inside. A reader that reads a
// row too low, loses the first row, turns the rows upside down or forgets a row's padding
// (the default width is odd) gives another picture. Each pixel is a `scale` x `scale` block.
inline QImage markedPicture(int width = 37, int height = 23, int scale = 1)
{
    const QRgb white = qRgb(255, 255, 255), red = qRgb(255, 0, 0), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255);
    QImage image(width * scale, height * scale, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const QRgb c = y == 0 ? (x < width / 2 ? red : green) : y == height - 1 ? blue
                           : x == 0 ? green : x == width - 1 ? red : white;
            for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx)
                    image.setPixel(x * scale + dx, y * scale + dy, c);
        }
    return image;
}

// The marked picture as a GIF, through the four-colour encoder.
inline QByteArray markedGif(int width = 37, int height = 23)
{
    const QImage image = markedPicture(width, height);
    const std::vector<QRgb> palette = {qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    std::vector<int> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(int(std::find(palette.begin(), palette.end(), image.pixel(x, y) | 0xFF000000u) - palette.begin()));
    return gif(width, height, palette, pixels);
}

// `image` in `format` as Qt writes it.
inline QByteArray encodedImage(const QImage &image, const char *format, int quality = 100)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

// A BMP as Qt writes it (rows bottom up), turned into one whose rows are stored top down.
inline QByteArray topDownBmp(const QImage &image)
{
    QByteArray b = encodedImage(image, "BMP");
    const quint32 offset = qFromLittleEndian<quint32>(b.constData() + 10);
    const qint32 height = qFromLittleEndian<qint32>(b.constData() + 22);
    const qsizetype row = (b.size() - offset) / height;
    QByteArray rows;
    for (qint32 y = height - 1; y >= 0; --y)
        rows += b.mid(offset + y * row, row);
    qToLittleEndian<qint32>(-height, b.data() + 22);
    return b.left(offset) + rows;
}

// `jpeg` with segments inserted just after its start-of-image marker.
inline QByteArray withSegments(const QByteArray &jpeg, const QByteArray &segments)
{
    return jpeg.left(2) + segments + jpeg.mid(2);
}

// One JPEG segment: marker, length, payload (at most 65533 bytes).
inline QByteArray jpegSegment(int marker, const QByteArray &payload)
{
    QByteArray s;
    s.append(char(0xFF)).append(char(marker));
    appendBe16(s, int(payload.size()) + 2);
    return s + payload;
}

// An EXIF segment saying how the picture is to be turned (orientation 1 to 8).
inline QByteArray exifOrientation(int orientation)
{
    QByteArray tiff("MM\0*", 4);
    tiff += QByteArray("\0\0\0\x08", 4); // the first directory follows the header
    tiff += QByteArray("\0\x01", 2);        // one entry
    tiff += QByteArray("\x01\x12\0\x03\0\0\0\x01", 8) + char(0) + char(orientation) + QByteArray(2, '\0');
    tiff += QByteArray(4, '\0');
    return jpegSegment(0xE1, QByteArray("Exif\0\0", 6) + tiff);
}

// Comment segments adding up to `bytes` of segment (a segment is at most 65537 bytes).
inline QByteArray comments(qint64 bytes)
{
    QByteArray all;
    while (bytes > 0) {
        const qint64 take = std::min<qint64>(bytes, 65537);
        const qint64 payload = std::max<qint64>(take - 4, 0);
        all += jpegSegment(0xFE, QByteArray(payload, 'c'));
        bytes -= payload + 4;
    }
    return all;
}

// A PNG chunk of `type` holding `body`, its CRC right.
inline QByteArray pngChunk(const char *type, const QByteArray &body)
{
    QByteArray b;
    for (int s = 24; s >= 0; s -= 8)
        b.append(char(quint32(body.size()) >> s));
    const QByteArray typed = QByteArray(type) + body;
    b += typed;
    const quint32 crc = crc32(typed);
    for (int s = 24; s >= 0; s -= 8)
        b.append(char(crc >> s));
    return b;
}

// `png` with `chunks` inserted before its first image data.
inline QByteArray withChunks(const QByteArray &png, const QByteArray &chunks)
{
    const qsizetype idat = png.indexOf("IDAT") - 4;
    return png.left(idat) + chunks + png.mid(idat);
}

// A compressed text chunk inflating to `inflated` bytes: the deflate stream of zeros that
// the black PNG maker uses, made small.
inline QByteArray zTxtChunk(qint64 inflated)
{
    BitWriter z(false);
    z.put(1, 1);
    z.put(1, 2);
    z.put(0x0C, 8);
    qint64 left = inflated - 1;
    for (; left >= 258; left -= 258)
        z.put(0xA3, 13);
    for (; left > 0; --left)
        z.put(0x0C, 8);
    z.put(0, 7);
    QByteArray stream("\x78\x01", 2);
    stream += z.finish();
    const quint32 adler = quint32(inflated % 65521) << 16 | 1;
    for (int s = 24; s >= 0; s -= 8)
        stream.append(char(adler >> s));
    return pngChunk("zTXt", QByteArray("Comment\0\0", 9) + stream);
}

// Ancillary chunks adding up to `bytes` (a chunk costs 12 bytes besides its data).
inline QByteArray privateChunks(qint64 bytes)
{
    QByteArray all;
    while (bytes > 0) {
        const qint64 take = std::min<qint64>(bytes, 1 << 20);
        all += pngChunk("prVt", QByteArray(std::max<qint64>(take - 12, 0), 'p'));
        bytes -= std::max<qint64>(take - 12, 0) + 12;
    }
    return all;
}

// `gifFile` with comment extensions adding up to `bytes` (each sub-block of 255 bytes costs
// 256) before its first frame.
inline QByteArray gifWithComments(const QByteArray &gifFile, qint64 bytes)
{
    const int table = gifFile[10] & 0x80 ? 3 << ((gifFile[10] & 7) + 1) : 0;
    QByteArray comments;
    while (bytes > 0) {
        QByteArray extension("\x21\xFE", 2);
        for (int i = 0; i < 200 && bytes > 0; ++i) {
            // A block of no bytes would end the extension: the last one may cost a byte more.
            const int size = int(std::clamp<qint64>(bytes - 1, 1, 255));
            extension.append(char(size)).append(QByteArray(size, 'c'));
            bytes -= size + 1;
        }
        comments += extension + char(0);
    }
    return gifFile.left(13 + table) + comments + gifFile.mid(13 + table);
}

// Writes `head` to `path`, then makes the file `size` bytes long without writing the rest:
// a sparse file, as large as a file system allows, in no time.
inline bool writeSparse(const QString &path, const QByteArray &head, qint64 size)
{
    if (!write(path, head))
        return false;
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY);
    const bool ok = fd >= 0 && ::ftruncate(fd, off_t(size)) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}

// Large and hostile picture files, made in seconds, and what loading each must give.
struct CorpusFile
{
    enum Outcome { Loaded, TooLarge, Unreadable, FileTooLarge, TooMuchMetadata, TooManyScans };
    const char *name;
    Outcome outcome;
    QRgb at5x5; // the picture's colour at (5, 5), when it loads
    std::function<QByteArray()> make;
    // Made longer than `make` gives, without writing the rest: a sparse file.
    qint64 sparseSize = 0;
};

// What the message for each outcome says, in part.
inline QString outcomeWords(CorpusFile::Outcome outcome)
{
    switch (outcome) {
    case CorpusFile::TooLarge: return QStringLiteral("画像が大きすぎる");
    case CorpusFile::Unreadable: return QStringLiteral("画像として読み込めません");
    case CorpusFile::FileTooLarge: return QStringLiteral("ファイルが画像");
    case CorpusFile::TooMuchMetadata: return QStringLiteral("付いているデータ");
    case CorpusFile::TooManyScans: return QStringLiteral("スキャンの数");
    case CorpusFile::Loaded: break;
    }
    return {};
}

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

        // Costs that lie outside the pixels: text, comments, padding, the wrong formats.
        {"png behind 100 zTXt chunks of 7.9 MB each", CorpusFile::Loaded, black,
         [] { QByteArray z; const QByteArray one = zTxtChunk(7900000); for (int i = 0; i < 100; ++i) z += one;
              return withChunks(png(64, 64, 2, 8), z); }},
        {"png behind 16 MiB of ancillary chunks", CorpusFile::Loaded, black,
         [] { return withChunks(png(64, 64, 2, 8), privateChunks(16 << 20)); }},
        {"png behind 16 MiB and a byte of ancillary chunks", CorpusFile::TooMuchMetadata, 0,
         [] { return withChunks(png(64, 64, 2, 8), privateChunks((16 << 20) + 1)); }},
        {"ico whose entry claims 4 GB", CorpusFile::Unreadable, 0,
         [] { return QByteArray("\0\0\1\0\1\0\0\0\0\0\1\0\x20\0\xFF\xFF\xFF\xFF\x16\0\0\0", 22) + QByteArray(4000, 'i'); }},
        {"jpeg behind 16 MiB of comments", CorpusFile::Loaded, grey,
         [] { return withSegments(jpeg(64, 64, 3, false), comments(16 << 20)); }},
        {"jpeg behind 16 MiB and a byte of comments", CorpusFile::TooMuchMetadata, 0,
         [] { return withSegments(jpeg(64, 64, 3, false), comments((16 << 20) + 1)); }},
        {"progressive jpeg padded to 64 GB", CorpusFile::FileTooLarge, 0,
         [] { return jpeg(64, 64, 3, true); }, qint64(64) << 30},
        {"baseline jpeg padded to 1 GB", CorpusFile::FileTooLarge, 0,
         [] { return jpeg(64, 64, 3, false); }, qint64(1) << 30},
        {"progressive jpeg of 16 MiB", CorpusFile::Loaded, grey,
         [] { return jpeg(2000, 2000, 3, true); }, qint64(16) << 20},
        {"progressive jpeg of 16 MiB and a byte", CorpusFile::FileTooLarge, 0,
         [] { return jpeg(2000, 2000, 3, true); }, (qint64(16) << 20) + 1},
        {"progressive jpeg of 100 scans", CorpusFile::Loaded, grey,
         [] { return jpeg(256, 256, 3, true, -1, {33, 33, 33}); }},
        {"progressive jpeg of 101 scans", CorpusFile::TooManyScans, 0,
         [] { return jpeg(256, 256, 3, true, -1, {34, 33, 33}); }},
        {"pgm behind 500 MB of blanks", CorpusFile::Unreadable, 0,
         [] { return QByteArray("P2\n1 1\n255\n"); }, qint64(500) << 20},
        {"ascii ppm of 40 million pixels", CorpusFile::Unreadable, 0,
         [] { return QByteArray("P3\n8192 5120\n255\n0 0 0\n"); }},
        {"xpm", CorpusFile::Unreadable, 0,
         [] { return QByteArray("/* XPM */\nstatic char *x[] = {\"1 1 1 1\", \". c #000000\", \".\"};\n"); }},
        {"xbm", CorpusFile::Unreadable, 0,
         [] { return QByteArray("#define x_width 8\n#define x_height 1\nstatic char x_bits[] = { 0xff };\n"); }},
        {"bmp whose far rows lie beyond 64 bits", CorpusFile::TooLarge, 0,
         [] { QByteArray b = bmpHeader(0x7FFFFFFF, 0x7FFFFFFF); b[28] = 32; return b + QByteArray(64, 'b'); }},

        {"gif behind 16 MiB of comments", CorpusFile::Loaded, blue,
         [blueFrame] { return gifWithComments(gif(100, 100, {0, blue}, blueFrame), 16 << 20); }},
        {"gif behind 16 MiB and two bytes of comments", CorpusFile::TooMuchMetadata, 0,
         [blueFrame] { return gifWithComments(gif(100, 100, {0, blue}, blueFrame), (16 << 20) + 2); }},
        {"png behind 99,999 empty chunks", CorpusFile::Loaded, black,
         [] { return withChunks(png(64, 64, 2, 8), QByteArray(pngChunk("prVt", {})).repeated(99999)); }},
        {"png behind 100,001 empty chunks", CorpusFile::TooMuchMetadata, 0,
         [] { return withChunks(png(64, 64, 2, 8), QByteArray(pngChunk("prVt", {})).repeated(100001)); }},
        {"jpeg behind 100,000 empty comments", CorpusFile::Loaded, grey,
         [] { return withSegments(jpeg(64, 64, 3, false), jpegSegment(0xFE, {}).repeated(100000)); }},
        {"jpeg behind 100,001 empty comments", CorpusFile::TooMuchMetadata, 0,
         [] { return withSegments(jpeg(64, 64, 3, false), jpegSegment(0xFE, {}).repeated(100001)); }},

        // The budget's limits, one under and one over.
        {"gif screen of the whole-decode budget", CorpusFile::Loaded, blue,
         [blueFrame] { return gif(100, 100, {0, blue}, blueFrame, 40960, 1024); }},
        {"gif screen one column over it", CorpusFile::TooLarge, 0,
         [blueFrame] { return gif(100, 100, {0, blue}, blueFrame, 40961, 1024); }},
        {"png rows of the row budget", CorpusFile::Loaded, black, [] { return png(65536, 1188, 0, 1); }},
        {"png rows one pixel over it", CorpusFile::TooLarge, 0, [] { return png(65537, 1188, 0, 1); }},
    };
}

} // namespace pictureFiles
