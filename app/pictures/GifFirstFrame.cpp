#include "GifFirstFrame.h"

#include "DecodeBudget.h"
#include "KeepPosition.h"

#include <QIODevice>
#include <QtEndian>

namespace {

int colourTableBytes(quint8 flags) { return flags & 0x80 ? 3 << ((flags & 7) + 1) : 0; }

// Reads the sub-blocks that follow at the device's position, up to and including their
// terminator, appending them to `out` unless it is null (then they are skipped). Counts
// their bytes against `limit` and the blocks against `mostPieces`.
bool subBlocks(QIODevice *device, QByteArray *out, qint64 *used, qint64 limit, qint64 *pieces,
               qint64 mostPieces)
{
    for (;;) {
        char size = 0;
        if (!device->getChar(&size))
            return false;
        if (out)
            out->append(size);
        if (size == 0)
            return true;
        *used += quint8(size) + 1;
        if (*used > limit || ++*pieces > mostPieces)
            return false;
        if (out) {
            const QByteArray block = device->read(quint8(size));
            if (block.size() != quint8(size))
                return false;
            out->append(block);
        } else if (device->pos() + quint8(size) > device->size() || !device->seek(device->pos() + quint8(size))) {
            return false;
        }
    }
}

} // namespace

GifFirstFrame gifFirstFrame(QIODevice *device)
{
    GifFirstFrame gif;
    gif.trouble = GifTrouble::Unreadable;
    const KeepPosition keep(device);
    if (!device->seek(0))
        return gif;
    QByteArray head = device->read(13);
    if (head.size() != 13 || !(head.startsWith("GIF87a") || head.startsWith("GIF89a")))
        return gif;
    gif.screen = QSize(qFromLittleEndian<quint16>(head.constData() + 6),
                       qFromLittleEndian<quint16>(head.constData() + 8));
    head += device->read(colourTableBytes(quint8(head[10])));
    if (head.size() != 13 + colourTableBytes(quint8(head[10])))
        return gif;

    QByteArray control;
    qint64 metadata = 0, pieces = 0;
    for (;;) {
        char introducer = 0;
        if (!device->getChar(&introducer) || introducer == 0x3B)
            return gif; // no frame at all
        if (introducer == 0x21) {
            char label = 0;
            if (!device->getChar(&label))
                return gif;
            QByteArray extension = QByteArray("\x21", 1) + label;
            const bool isControl = quint8(label) == 0xF9;
            if (!subBlocks(device, isControl ? &extension : nullptr, &metadata,
                           budget::kMostMetadataBytes, &pieces, budget::kMostPieces)) {
                if (metadata > budget::kMostMetadataBytes || pieces > budget::kMostPieces)
                    gif.trouble = GifTrouble::TooMuchMetadata;
                return gif;
            }
            if (isControl)
                control = extension; // the last one before the frame is the frame's
            continue;
        }
        if (introducer != 0x2C)
            return gif;
        QByteArray frame = QByteArray("\x2C", 1) + device->read(9);
        if (frame.size() != 10)
            return gif;
        const int frameWidth = qFromLittleEndian<quint16>(frame.constData() + 5);
        const int frameHeight = qFromLittleEndian<quint16>(frame.constData() + 7);
        const int table = colourTableBytes(quint8(frame[9]));
        frame += device->read(table + 1); // and the LZW code size
        if (frame.size() != 10 + table + 1)
            return gif;
        // LZW codes are at most 12 bits, and each gives a pixel or clears the table: a frame's
        // data can need at most some three bytes a pixel. More is no frame of this size. Its
        // blocks are full (255 bytes) but for the last in every encoder there is.
        const qint64 most = 4 * qint64(frameWidth) * frameHeight + 4096;
        qint64 data = 0, blocks = 0;
        if (!subBlocks(device, &frame, &data, most, &blocks, most / 128 + 16)) {
            if (data > most || blocks > most / 128 + 16)
                gif.trouble = GifTrouble::FileTooLarge;
            return gif;
        }
        gif.file = head + control + frame + char(0x3B);
        gif.trouble = GifTrouble::None;
        return gif;
    }
}
