#include "PngTopLeft.h"

#include <QIODevice>

#include <png.h>

#include <cstring>
#include <vector>

namespace {

void readFromDevice(png_structp png, png_bytep data, size_t length)
{
    auto *device = static_cast<QIODevice *>(png_get_io_ptr(png));
    if (device->read(reinterpret_cast<char *>(data), qint64(length)) != qint64(length))
        png_error(png, "the file ends early");
}

void quiet(png_structp, png_const_charp) {}

// Owns libpng's two structures for one read.
class Reader
{
public:
    explicit Reader(QIODevice *device)
    {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, quiet, quiet);
        if (png_)
            info_ = png_create_info_struct(png_);
        if (info_)
            png_set_read_fn(png_, device, readFromDevice);
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

} // namespace

std::optional<PngHeader> readPngHeader(QIODevice *device)
{
    const qint64 start = device->pos();
    if (!device->seek(0))
        return std::nullopt;
    std::optional<PngHeader> header;
    {
        Reader r(device);
        // libpng reports errors by longjmp; nothing with a destructor is made after setjmp.
        if (r.ok() && setjmp(png_jmpbuf(r.png())) == 0) {
            png_read_info(r.png(), r.info());
            header = PngHeader{QSize(int(png_get_image_width(r.png(), r.info())),
                                     int(png_get_image_height(r.png(), r.info()))),
                               png_get_interlace_type(r.png(), r.info()) != PNG_INTERLACE_NONE};
        }
    }
    device->seek(start);
    return header;
}

QImage readPngTopLeft(QIODevice *device, QSize kept)
{
    if (!device->seek(0))
        return {};
    Reader r(device);
    if (!r.ok())
        return {};
    png_structp png = r.png();
    png_infop info = r.info();
    // Everything with a destructor exists before setjmp: a jump back from libpng unwinds
    // nothing, so nothing may be made between here and there.
    std::vector<png_byte> scratch;
    std::vector<std::vector<png_byte>> whole;
    QImage image;
    if (setjmp(png_jmpbuf(png)) != 0)
        return {};

    png_read_info(png, info);
    const int width = int(png_get_image_width(png, info));
    const int height = int(png_get_image_height(png, info));
    const QSize size = kept.boundedTo(QSize(width, height));
    // Whatever the file holds, 8 bits per channel of red, green, blue and alpha.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);

    image = QImage(size, QImage::Format_RGBA8888);
    if (image.isNull() && !size.isEmpty())
        return {};
    // Each kept row is decoded whole, then cut to the kept width. An interlaced file adds
    // to the same rows pass after pass, so those rows stay whole until the last pass.
    scratch.resize(rowBytes);
    const int keptRows = passes > 1 ? size.height() : 0;
    whole.assign(size_t(keptRows), std::vector<png_byte>(rowBytes));
    for (int pass = 0; pass < passes; ++pass) {
        const int last = passes > 1 ? height : size.height();
        for (int y = 0; y < last; ++y) {
            png_bytep row = y < keptRows ? whole[size_t(y)].data() : scratch.data();
            png_read_row(png, row, nullptr);
            if (passes == 1)
                std::memcpy(image.scanLine(y), row, size_t(size.width()) * 4);
        }
    }
    for (int y = 0; y < keptRows; ++y)
        std::memcpy(image.scanLine(y), whole[size_t(y)].data(), size_t(size.width()) * 4);
    return image;
}
