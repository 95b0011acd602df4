#include "JpegHeader.h"

#include <QIODevice>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return.
struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void leave(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(cinfo->err)->jump, 1);
}

void quiet(j_common_ptr, int) {}

// Feeds libjpeg from a QIODevice in small pieces, so that a header behind large
// application segments is still found without reading the whole file into memory.
struct DeviceSource
{
    jpeg_source_mgr pub;
    QIODevice *device;
    JOCTET buffer[4096];
};

void initSource(j_decompress_ptr) {}

boolean fillInput(j_decompress_ptr cinfo)
{
    auto *src = reinterpret_cast<DeviceSource *>(cinfo->src);
    qint64 n = src->device->read(reinterpret_cast<char *>(src->buffer), sizeof src->buffer);
    if (n <= 0) {
        // The file ended inside the header: an end-of-image marker makes libjpeg fail cleanly.
        src->buffer[0] = 0xFF;
        src->buffer[1] = JPEG_EOI;
        n = 2;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = size_t(n);
    return TRUE;
}

void skipInput(j_decompress_ptr cinfo, long count)
{
    auto *src = reinterpret_cast<DeviceSource *>(cinfo->src);
    if (count <= 0)
        return;
    if (size_t(count) <= src->pub.bytes_in_buffer) {
        src->pub.next_input_byte += count;
        src->pub.bytes_in_buffer -= size_t(count);
        return;
    }
    count -= long(src->pub.bytes_in_buffer);
    src->pub.bytes_in_buffer = 0;
    if (!src->device->isSequential())
        src->device->seek(src->device->pos() + count);
    else
        src->device->skip(count);
}

void termSource(j_decompress_ptr) {}

// Scans after the first one each begin with a start-of-scan marker. Inside entropy-coded
// data a 0xFF byte is always followed by 0x00 or a restart marker, so every 0xFF 0xDA
// from here on is one.
int countScans(QIODevice *device)
{
    int scans = 1;
    char previous = 0;
    for (QByteArray chunk; !(chunk = device->read(1 << 16)).isEmpty();) {
        for (char c : chunk) {
            if (previous == '\xFF' && c == '\xDA')
                ++scans;
            previous = c;
        }
    }
    return scans;
}

} // namespace

std::optional<JpegCost> jpegCost(QIODevice *device)
{
    const qint64 start = device->pos();
    if (!device->seek(0))
        return std::nullopt;
    jpeg_decompress_struct cinfo{};
    ErrorManager errors{};
    DeviceSource source{};
    // Set between setjmp and a possible longjmp, so kept in memory: -1 is "no header".
    volatile qint64 bytes = -1;
    volatile bool multiScan = false;

    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = leave;
    errors.pub.emit_message = quiet;
    if (setjmp(errors.jump) == 0) {
        jpeg_create_decompress(&cinfo);
        source.device = device;
        source.pub.init_source = initSource;
        source.pub.fill_input_buffer = fillInput;
        source.pub.skip_input_data = skipInput;
        source.pub.resync_to_restart = jpeg_resync_to_restart;
        source.pub.term_source = termSource;
        cinfo.src = &source.pub;
        if (jpeg_read_header(&cinfo, TRUE) == JPEG_HEADER_OK) {
            qint64 total = 0;
            multiScan = jpeg_has_multiple_scans(&cinfo);
            if (multiScan) {
                // One 64-coefficient block per 8 x 8 pixels of every component, in rows
                // and columns padded to whole sampling units, as libjpeg allocates them.
                for (int i = 0; i < cinfo.num_components; ++i) {
                    const jpeg_component_info &c = cinfo.comp_info[i];
                    const qint64 w = (qint64(c.width_in_blocks) + c.h_samp_factor - 1)
                                     / c.h_samp_factor * c.h_samp_factor;
                    const qint64 h = (qint64(c.height_in_blocks) + c.v_samp_factor - 1)
                                     / c.v_samp_factor * c.v_samp_factor;
                    total += w * h * qint64(sizeof(JBLOCK));
                }
            }
            bytes = total;
        }
    }
    std::optional<JpegCost> cost;
    if (bytes >= 0) {
        cost = JpegCost{bytes, 1};
        if (multiScan) {
            // Back to where libjpeg stopped: just after the first scan's header.
            device->seek(device->pos() - qint64(source.pub.bytes_in_buffer));
            cost->scans = countScans(device);
        }
    }
    jpeg_destroy_decompress(&cinfo);
    device->seek(start);
    return cost;
}
