#include "JpegRows.h"

#include "DecodeBudget.h"
#include "DecodeWork.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace {

// Everything libjpeg works with for one read. libjpeg reports a fatal error by calling
// error_exit, which must not return: it jumps back to the setjmp of the call under way, so
// nothing here has a destructor.
struct Session
{
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    std::jmp_buf jump;
    jpeg_source_mgr source;
    jpeg_progress_mgr progress;
    QIODevice *device;
    JOCTET buffer[65536];
    JpegTrouble trouble;
    qint64 metadataBytes;
    qint64 pieces;
    bool sawExif;
    int orientation;
    DecodeWork *work;
};

Session *sessionOf(j_common_ptr cinfo) { return static_cast<Session *>(cinfo->client_data); }
Session *sessionOf(j_decompress_ptr cinfo) { return static_cast<Session *>(cinfo->client_data); }

void leave(j_common_ptr cinfo) { std::longjmp(sessionOf(cinfo)->jump, 1); }
void quiet(j_common_ptr, int) {}

void stop(Session *s, JpegTrouble why)
{
    s->trouble = why;
    std::longjmp(s->jump, 1);
}

void initSource(j_decompress_ptr) {}
void termSource(j_decompress_ptr) {}

boolean fillInput(j_decompress_ptr cinfo)
{
    Session *s = sessionOf(cinfo);
    qint64 n = s->device->read(reinterpret_cast<char *>(s->buffer), sizeof s->buffer);
    if (n <= 0) {
        // The file ended early: an end-of-image marker makes libjpeg finish cleanly.
        if (s->work)
            s->work->endedEarly();
        s->buffer[0] = 0xFF;
        s->buffer[1] = JPEG_EOI;
        n = 2;
    }
    s->source.next_input_byte = s->buffer;
    s->source.bytes_in_buffer = size_t(n);
    return TRUE;
}

void skipInput(j_decompress_ptr cinfo, long count)
{
    Session *s = sessionOf(cinfo);
    if (count <= 0)
        return;
    if (size_t(count) <= s->source.bytes_in_buffer) {
        s->source.next_input_byte += count;
        s->source.bytes_in_buffer -= size_t(count);
        return;
    }
    count -= long(s->source.bytes_in_buffer);
    s->source.bytes_in_buffer = 0;
    // Skipped, not read: a comment of any length costs one seek (to the end at most, where
    // the file ends early).
    if (!s->device->isSequential())
        s->device->seek(std::min(s->device->pos() + qint64(count), s->device->size()));
    else
        s->device->skip(count);
}

int nextByte(j_decompress_ptr cinfo)
{
    jpeg_source_mgr *src = cinfo->src;
    if (src->bytes_in_buffer == 0)
        src->fill_input_buffer(cinfo);
    --src->bytes_in_buffer;
    return *src->next_input_byte++;
}

// The orientation tag of IFD0 in the TIFF structure of an EXIF segment; 1 when absent.
int exifOrientation(const std::vector<unsigned char> &tiff)
{
    const auto size = qint64(tiff.size());
    if (size < 8)
        return 1;
    const bool little = tiff[0] == 'I' && tiff[1] == 'I';
    if (!little && !(tiff[0] == 'M' && tiff[1] == 'M'))
        return 1;
    const auto u16 = [&](qint64 at) -> quint32 {
        return little ? qFromLittleEndian<quint16>(&tiff[size_t(at)]) : qFromBigEndian<quint16>(&tiff[size_t(at)]);
    };
    const auto u32 = [&](qint64 at) -> quint32 {
        return little ? qFromLittleEndian<quint32>(&tiff[size_t(at)]) : qFromBigEndian<quint32>(&tiff[size_t(at)]);
    };
    const qint64 ifd = u32(4);
    if (ifd + 2 > size)
        return 1;
    const qint64 entries = u16(ifd);
    for (qint64 i = 0; i < entries; ++i) {
        const qint64 at = ifd + 2 + 12 * i;
        if (at + 12 > size)
            return 1;
        if (u16(at) == 0x0112 && u16(at + 2) == 3) {
            const quint32 value = u16(at + 8);
            return value >= 1 && value <= 8 ? int(value) : 1;
        }
    }
    return 1;
}

// Every comment and application segment comes here instead of into memory. Only what
// libjpeg needs of JFIF and Adobe segments (how the colours are coded) and the EXIF
// orientation are read; the rest is skipped, and the amount of it is capped.
boolean readMetadata(j_decompress_ptr cinfo)
{
    Session *s = sessionOf(cinfo);
    const int high = nextByte(cinfo);
    const qint64 length = (high << 8 | nextByte(cinfo)) - 2;
    s->metadataBytes += length + 4;
    if (++s->pieces > budget::kMostPieces || s->metadataBytes > budget::kMostMetadataBytes)
        stop(s, JpegTrouble::TooMuchMetadata);
    if (length <= 0)
        return TRUE;

    const int marker = cinfo->unread_marker;
    qint64 wanted = 0;
    if (marker == JPEG_APP0 || marker == JPEG_APP0 + 14)
        wanted = std::min<qint64>(length, 12);
    else if (marker == JPEG_APP0 + 1 && !s->sawExif)
        wanted = std::min<qint64>(length, budget::kExifBytesRead);
    std::vector<unsigned char> head(static_cast<size_t>(wanted));
    for (auto &b : head)
        b = static_cast<unsigned char>(nextByte(cinfo));
    const auto startsWith = [&head](const char *tag, size_t n) {
        return head.size() >= n && std::memcmp(head.data(), tag, n) == 0;
    };
    if (marker == JPEG_APP0 && startsWith("JFIF\0", 5)) {
        cinfo->saw_JFIF_marker = TRUE;
    } else if (marker == JPEG_APP0 + 14 && startsWith("Adobe", 5) && head.size() >= 12) {
        cinfo->saw_Adobe_marker = TRUE;
        cinfo->Adobe_transform = head[11];
    } else if (marker == JPEG_APP0 + 1 && startsWith("Exif\0\0", 6)) {
        s->sawExif = true;
        s->orientation = exifOrientation(std::vector<unsigned char>(head.begin() + 6, head.end()));
    }
    skipInput(cinfo, long(length - wanted));
    return TRUE;
}

void watchScans(j_common_ptr cinfo)
{
    auto *d = reinterpret_cast<j_decompress_ptr>(cinfo);
    Session *s = sessionOf(cinfo);
    if (d->input_scan_number > budget::kMostScans)
        stop(s, JpegTrouble::TooManyScans);
    if (s->work && s->work->cancelled())
        stop(s, JpegTrouble::Cancelled);
}

// Readies `s` to read from the start of `device`. Must be followed by jpeg_destroy.
void open(Session *s, QIODevice *device)
{
    std::memset(static_cast<void *>(s), 0, sizeof *s);
    s->device = device;
    s->orientation = 1;
    s->cinfo.err = jpeg_std_error(&s->errors);
    s->errors.error_exit = leave;
    s->errors.emit_message = quiet;
    s->cinfo.client_data = s;
    jpeg_create_decompress(&s->cinfo);
    // A backstop under the budget checked from the header: libjpeg refuses to allocate more.
    s->cinfo.mem->max_memory_to_use = long(budget::kMemory);
    s->source.init_source = initSource;
    s->source.fill_input_buffer = fillInput;
    s->source.skip_input_data = skipInput;
    s->source.resync_to_restart = jpeg_resync_to_restart;
    s->source.term_source = termSource;
    s->cinfo.src = &s->source;
    s->progress.progress_monitor = watchScans;
    s->cinfo.progress = &s->progress;
    jpeg_set_marker_processor(&s->cinfo, JPEG_COM, readMetadata);
    for (int m = JPEG_APP0; m <= JPEG_APP0 + 15; ++m)
        jpeg_set_marker_processor(&s->cinfo, m, readMetadata);
}

// Reads the header into `s`; false on any failure, with s->trouble saying which.
bool readHeader(Session *s)
{
    if (setjmp(s->jump) != 0)
        return false;
    return jpeg_read_header(&s->cinfo, TRUE) == JPEG_HEADER_OK;
}

qint64 coefficientBytes(const jpeg_decompress_struct &cinfo)
{
    // One 64-coefficient block per 8 x 8 pixels of every component, in rows and columns
    // padded to whole sampling units, as libjpeg allocates them.
    qint64 total = 0;
    for (int i = 0; i < cinfo.num_components; ++i) {
        const jpeg_component_info &c = cinfo.comp_info[i];
        const qint64 w = (qint64(c.width_in_blocks) + c.h_samp_factor - 1) / c.h_samp_factor * c.h_samp_factor;
        const qint64 h = (qint64(c.height_in_blocks) + c.v_samp_factor - 1) / c.v_samp_factor * c.v_samp_factor;
        total += w * h * qint64(sizeof(JBLOCK));
    }
    return total;
}

} // namespace

// A region of the stored picture for a region of the picture as shown.
QRect jpegStoredRect(const QRect &shown, QSize stored, int orientation)
{
    const int W = stored.width(), H = stored.height();
    const int l = shown.left(), t = shown.top(), r = shown.right(), b = shown.bottom();
    switch (orientation) {
    case 2: return QRect(QPoint(W - 1 - r, t), QPoint(W - 1 - l, b)); // mirrored
    case 3: return QRect(QPoint(W - 1 - r, H - 1 - b), QPoint(W - 1 - l, H - 1 - t)); // turned 180
    case 4: return QRect(QPoint(l, H - 1 - b), QPoint(r, H - 1 - t)); // flipped
    case 5: return QRect(QPoint(t, l), QPoint(b, r)); // transposed
    case 6: return QRect(QPoint(t, H - 1 - r), QPoint(b, H - 1 - l)); // turned right
    case 7: return QRect(QPoint(W - 1 - b, H - 1 - r), QPoint(W - 1 - t, H - 1 - l)); // transverse
    case 8: return QRect(QPoint(W - 1 - b, l), QPoint(W - 1 - t, r)); // turned left
    default: return shown;
    }
}

namespace {

// The bytes libjpeg writes a pixel in: those of a 32-bit 0xAARRGGBB on this machine.
constexpr J_COLOR_SPACE kPixelOrder = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB;

// Decodes `part` (in reduced stored coordinates) row by row into `to`.
bool decodeRows(Session *s, int reduction, const QRect &part, const JpegRowSink &to, std::vector<JSAMPLE> *row,
                std::vector<quint32> *inks)
{
    if (setjmp(s->jump) != 0)
        return false;
    jpeg_decompress_struct &c = s->cinfo;
    if (jpeg_read_header(&c, TRUE) != JPEG_HEADER_OK)
        return false;
    c.scale_num = 1;
    c.scale_denom = unsigned(reduction);
    const bool cmyk = c.jpeg_color_space == JCS_CMYK || c.jpeg_color_space == JCS_YCCK;
    c.out_color_space = cmyk ? JCS_CMYK : kPixelOrder;
    if (!jpeg_start_decompress(&c))
        return false;
    if (!QRect(0, 0, int(c.output_width), int(c.output_height)).contains(part))
        return false;
    JDIMENSION x = JDIMENSION(part.left()), width = JDIMENSION(part.width());
    if (width < c.output_width)
        jpeg_crop_scanline(&c, &x, &width); // widened to whole blocks: x may move left
    DecodeWork *work = s->work;
    if (work)
        work->expectRows(part.bottom() + 1);
    if (part.top() > 0 && jpeg_skip_scanlines(&c, JDIMENSION(part.top())) != JDIMENSION(part.top()))
        return false;
    if (work)
        work->addRows(part.top(), width);
    row->resize(size_t(width) * 4);
    if (cmyk)
        inks->resize(size_t(part.width()));
    JSAMPROW rows[1] = {row->data()};
    const size_t from = size_t(part.left()) - x;
    for (int y = 0; y < part.height(); ++y) {
        if (work && work->cancelled())
            stop(s, JpegTrouble::Cancelled);
        if (jpeg_read_scanlines(&c, rows, 1) != 1)
            return false;
        if (work)
            work->addRows(1, width);
        const JSAMPLE *in = row->data() + 4 * from;
        if (!cmyk) {
            to(y, reinterpret_cast<const quint32 *>(in));
            continue;
        }
        // Adobe's files, the only common CMYK JPEGs, store the inks inverted.
        for (int i = 0; i < part.width(); ++i, in += 4) {
            const quint32 k = in[3];
            (*inks)[size_t(i)] = 0xFF000000u | (in[0] * k / 255) << 16 | (in[1] * k / 255) << 8 | (in[2] * k / 255);
        }
        to(y, inks->data());
    }
    return true;
}

} // namespace


JpegInfo readJpegInfo(QIODevice *device)
{
    JpegInfo info;
    const qint64 start = device->pos();
    if (!device->seek(0)) {
        info.trouble = JpegTrouble::Unreadable;
        return info;
    }
    auto s = std::make_unique<Session>();
    open(s.get(), device);
    if (readHeader(s.get())) {
        info.stored = QSize(int(s->cinfo.image_width), int(s->cinfo.image_height));
        info.orientation = s->orientation;
        if (jpeg_has_multiple_scans(&s->cinfo))
            info.bufferedBytes = coefficientBytes(s->cinfo);
    } else {
        info.trouble = s->trouble == JpegTrouble::None ? JpegTrouble::Unreadable : s->trouble;
    }
    jpeg_destroy_decompress(&s->cinfo);
    device->seek(start);
    return info;
}


QRect jpegReducedPart(const QRect &shown, const JpegInfo &info, int reduction)
{
    // libjpeg's reduced size is the stored size divided and rounded up, and a part's edges
    // are rounded outwards the same way.
    const QRect stored = jpegStoredRect(shown & QRect(QPoint(0, 0), info.shown()), info.stored, info.orientation);
    const auto down = [reduction](int v) { return v / reduction; };
    const auto up = [reduction](int v) { return (v + reduction - 1) / reduction; };
    return QRect(QPoint(down(stored.left()), down(stored.top())), QPoint(up(stored.right() + 1) - 1, up(stored.bottom() + 1) - 1));
}

JpegTrouble decodeJpegRows(QIODevice *device, const QRect &part, int reduction, DecodeWork *work, const JpegRowSink &to)
{
    if (part.isEmpty() || !device->seek(0))
        return JpegTrouble::Unreadable;
    std::vector<JSAMPLE> row;
    std::vector<quint32> inks;
    auto s = std::make_unique<Session>();
    open(s.get(), device);
    s->work = work;
    const bool ok = decodeRows(s.get(), reduction, part, to, &row, &inks);
    const JpegTrouble trouble = s->trouble;
    jpeg_destroy_decompress(&s->cinfo);
    if (ok)
        return JpegTrouble::None;
    return trouble == JpegTrouble::None ? JpegTrouble::Unreadable : trouble;
}
