#include "PngReader.h"

#include "DecodeBudget.h"
#include "DecodeWork.h"
#include "KeepPosition.h"
#include "RowReducer.h"

#include <QIODevice>
#include <QtEndian>

#include <png.h>

#include <cstring>
#include <optional>
#include <vector>

namespace {

const char kSignature[] = "\x89PNG\r\n\x1A\n";

bool isPixelChunk(const char *type)
{
    for (const char *kept : {"IHDR", "PLTE", "tRNS", "IDAT", "IEND"})
        if (std::memcmp(type, kept, 4) == 0)
            return true;
    return false;
}

// The file as libpng is allowed to see it: the signature and the pixel chunks, streamed from
// the device as they come; every other chunk is skipped by a seek and counted.
class ChunkFilter
{
public:
    explicit ChunkFilter(QIODevice *device) : device_(device) {}

    // Fills `out` with `length` bytes; false when the file ends or breaks a limit first.
    bool read(unsigned char *out, size_t length)
    {
        while (length > 0) {
            if (pending_.empty() && inChunk_ == 0 && !nextChunk())
                return false;
            if (!pending_.empty()) {
                const size_t n = std::min(length, pending_.size() - served_);
                std::memcpy(out, pending_.data() + served_, n);
                served_ += n;
                if (served_ == pending_.size()) {
                    pending_.clear();
                    served_ = 0;
                }
                out += n;
                length -= n;
                continue;
            }
            const qint64 n = device_->read(reinterpret_cast<char *>(out), qint64(std::min<qint64>(qint64(length), inChunk_)));
            if (n <= 0)
                return false;
            inChunk_ -= n;
            out += n;
            length -= size_t(n);
        }
        return true;
    }

    PngTrouble trouble = PngTrouble::None;

private:
    bool nextChunk()
    {
        if (!started_) {
            started_ = true;
            pending_.assign(kSignature, kSignature + 8);
            return device_->seek(8);
        }
        while (!ended_) {
            unsigned char head[8];
            if (device_->read(reinterpret_cast<char *>(head), 8) != 8)
                return false;
            const quint32 length = qFromBigEndian<quint32>(head);
            const char *type = reinterpret_cast<const char *>(head + 4);
            if (length > 0x7FFFFFFFu) {
                trouble = PngTrouble::Unreadable;
                return false;
            }
            if (isPixelChunk(type)) {
                ended_ = std::memcmp(type, "IEND", 4) == 0;
                pending_.assign(head, head + 8);
                inChunk_ = qint64(length) + 4; // the data and its CRC
                return true;
            }
            metadata_ += qint64(length) + 12;
            if (metadata_ > budget::kMostMetadataBytes || ++pieces_ > budget::kMostPieces) {
                trouble = PngTrouble::TooMuchMetadata;
                return false;
            }
            const qint64 next = device_->pos() + qint64(length) + 4;
            if (next > device_->size() || !device_->seek(next))
                return false;
        }
        return false;
    }

    QIODevice *device_;
    std::vector<unsigned char> pending_;
    size_t served_ = 0;
    qint64 inChunk_ = 0;
    qint64 pieces_ = 0;
    qint64 metadata_ = 0;
    bool started_ = false;
    bool ended_ = false;
};

void readFiltered(png_structp png, png_bytep data, size_t length)
{
    auto *filter = static_cast<ChunkFilter *>(png_get_io_ptr(png));
    if (!filter->read(data, length))
        png_error(png, "the file ends early");
}

void quiet(png_structp, png_const_charp) {}
// Jumps back at once: a handler that returns makes libpng print the error before it jumps.
void quietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Owns libpng's two structures for one read.
class Reader
{
public:
    explicit Reader(ChunkFilter *filter)
    {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quiet);
        if (png_)
            info_ = png_create_info_struct(png_);
        if (info_)
            png_set_read_fn(png_, filter, readFiltered);
    }
    ~Reader() { png_destroy_read_struct(&png_, &info_, nullptr); }
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;

    bool ok() const { return info_ != nullptr; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

// Everything the row loop writes, made before libpng may jump back past it.
struct Rows
{
    std::vector<png_byte> scratch;
    std::vector<std::vector<png_byte>> whole; // every row of an interlaced file
};

bool decodeRows(png_structp png, png_infop info, QSize kept, Rows &rows, QImage &topLeft,
                RowReducer *reducer, DecodeWork *work)
{
    // libpng reports errors by longjmp; nothing with a destructor is made after setjmp.
    if (setjmp(png_jmpbuf(png)) != 0)
        return false;
    png_read_info(png, info);
    const int width = int(png_get_image_width(png, info));
    const int height = int(png_get_image_height(png, info));
    // Whatever the file holds, 8 bits per channel of red, green, blue and alpha.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    if (rowBytes != size_t(width) * 4 || topLeft.width() > width || topLeft.height() > height)
        return false;

    // Each row is decoded whole, then cut to the kept width. An interlaced file adds to the
    // same rows pass after pass, so its rows stay whole until the last pass.
    rows.scratch.resize(rowBytes);
    const bool everyRow = reducer != nullptr;
    const int last = everyRow || passes > 1 ? height : kept.height();
    if (passes > 1)
        rows.whole.assign(size_t(height), std::vector<png_byte>(rowBytes));
    if (work)
        work->expectRows(qint64(passes) * last);
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < last; ++y) {
            if (work && work->cancelled())
                return false;
            png_bytep row = passes > 1 ? rows.whole[size_t(y)].data() : rows.scratch.data();
            png_read_row(png, row, nullptr);
            // Each pass of an interlaced file adds to every row; its pixels are done in the last.
            if (work)
                work->addRows(1, pass == passes - 1 ? width : 0);
            if (passes > 1)
                continue;
            if (y < topLeft.height())
                std::memcpy(topLeft.scanLine(y), row, size_t(topLeft.width()) * 4);
            if (reducer)
                reducer->addRgbaRow(row);
        }
    }
    for (int y = 0; passes > 1 && y < height; ++y) {
        if (y < topLeft.height())
            std::memcpy(topLeft.scanLine(y), rows.whole[size_t(y)].data(), size_t(topLeft.width()) * 4);
        if (reducer)
            reducer->addRgbaRow(rows.whole[size_t(y)].data());
    }
    return true;
}

} // namespace

PngInfo readPngInfo(QIODevice *device)
{
    PngInfo info;
    info.trouble = PngTrouble::Unreadable;
    const KeepPosition keep(device);
    if (!device->seek(0))
        return info;
    const QByteArray head = device->read(8 + 8 + 13);
    if (head.size() != 29 || !head.startsWith(QByteArray(kSignature, 8)) || head.mid(12, 4) != "IHDR"
        || qFromBigEndian<quint32>(head.constData() + 8) != 13)
        return info;
    const quint32 width = qFromBigEndian<quint32>(head.constData() + 16);
    const quint32 height = qFromBigEndian<quint32>(head.constData() + 20);
    const int depth = quint8(head[24]);
    const int colorType = quint8(head[25]);
    const int channels = colorType == 0 ? 1 : colorType == 2 ? 3 : colorType == 3 ? 1 : colorType == 4 ? 2 : 4;
    if (width == 0 || height == 0 || width > 0x7FFFFFFFu || height > 0x7FFFFFFFu)
        return info;
    info.size = QSize(int(width), int(height));
    info.interlaced = head[28] != 0;
    info.storedRowBytes = 1 + (qint64(width) * channels * depth + 7) / 8;

    // Walk to the first image data, weighing what lies before it.
    qint64 at = 8 + 8 + 13 + 4;
    qint64 metadata = 0, pieces = 0;
    // The header, a palette and a transparency chunk at most besides what is skipped.
    for (qint64 chunks = 0; chunks <= budget::kMostPieces + 3; ++chunks) {
        if (at + 8 > device->size() || !device->seek(at))
            return info;
        const QByteArray chunk = device->read(8);
        if (chunk.size() != 8)
            return info;
        const qint64 length = qFromBigEndian<quint32>(chunk.constData());
        if (chunk.mid(4) == "IDAT") {
            info.trouble = PngTrouble::None;
            return info;
        }
        if (!isPixelChunk(chunk.constData() + 4)) {
            metadata += length + 12;
            ++pieces;
        }
        if (metadata > budget::kMostMetadataBytes || pieces > budget::kMostPieces) {
            info.trouble = PngTrouble::TooMuchMetadata;
            return info;
        }
        at += length + 12;
    }
    return info; // no image data among so many chunks: no PNG written by a real program
}

PngPicture decodePng(QIODevice *device, QSize kept, int reduction, DecodeWork *work)
{
    PngPicture result;
    const PngInfo info = readPngInfo(device);
    if (info.trouble != PngTrouble::None) {
        result.trouble = info.trouble;
        return result;
    }
    ChunkFilter filter(device);
    Reader r(&filter);
    if (!r.ok()) {
        result.trouble = PngTrouble::Unreadable;
        return result;
    }
    QImage topLeft(kept.boundedTo(info.size), QImage::Format_RGBA8888);
    if (topLeft.isNull() && !kept.boundedTo(info.size).isEmpty()) {
        result.trouble = PngTrouble::Unreadable;
        return result;
    }
    std::optional<RowReducer> reducer;
    if (reduction > 0)
        reducer.emplace(info.size.width(), reduction);
    Rows rows;
    if (!decodeRows(r.png(), r.info(), kept, rows, topLeft, reducer ? &*reducer : nullptr, work)) {
        result.trouble = work && work->cancelled()          ? PngTrouble::Cancelled
                         : filter.trouble == PngTrouble::None ? PngTrouble::Unreadable
                                                              : filter.trouble;
        return result;
    }
    result.topLeft = std::move(topLeft);
    if (reducer)
        result.whole = reducer->finish();
    return result;
}
