// --text for a plain JPEG file, with Qt Core alone: the rows libjpeg decodes go straight into
// the dots' averages, none kept, no image made, none of the window's libraries loaded. The
// rows are the very ones the window decodes and averages for Ctrl+T, so the dots are the
// same to the bit. Anything else (another format, a turned or progressive JPEG, standard
// input, colour, a file the window would refuse or cut short) is left to the reading that
// knows every case, which also has every message.

#include "commandLineShared.h"
#include "convert/areaAverages.h"
#include "convert/placement.h"
#include "pictures/DecodeBudget.h"
#include "pictures/DecodeWork.h"
#include "pictures/JpegRows.h"
#include "pictures/PictureFile.h"
#include "result/postText.h"
#include "sizeEntry.h"

#include <QIODevice>

#include <csignal>

namespace {

constexpr int kNotMine = -1;

} // namespace

extern "C" __attribute__((visibility("default"))) int gridglyph_text(const CommandLine *line, bool japanese)
{
    const TextOptions &o = line->options;
    if (line->action != CommandLine::Text || line->input == QLatin1String("-") || o.colour)
        return kNotMine;
    PostOptions form;
    form.braille = o.braille;
    form.lineEnd = o.lf ? QStringLiteral("\n") : QStringLiteral("\r\n");
    if (!o.pair.isEmpty()) {
        const TypedPair typed = readTypedPair(o.pair);
        if (!typed.ok)
            return kNotMine;
        form.pair = typed.pair;
    }

    DecodeWork work;
    const std::unique_ptr<QIODevice> file = openPictureFile(line->input, &work);
    if (!file || pictureFormatOf(file.get()) != PictureFormat::Jpeg)
        return kNotMine;
    const JpegInfo info = readJpegInfo(file.get());
    if (info.trouble != JpegTrouble::None || info.orientation != 1 || info.bufferedBytes > 0)
        return kNotMine;
    // The window's limits, as it weighs a JPEG it opens: where it would refuse the file or
    // keep only its top-left part, the reading that says so answers.
    const QSize largest(kLargestCanvas, kLargestCanvas);
    const QSize full = info.shown();
    const qint64 pixels = qint64(full.width()) * full.height();
    const QSize kept = full.boundedTo(largest);
    if (!budget::fitsItsPicture(file->size(), budget::product(3, pixels))
        || qint64(info.stored.width()) * kept.height() > budget::kRowPixels || pixels > budget::kScaledJpegPixels
        || qint64(full.width() / 2 + 1) * (full.height() / 2 + 1) * 4 > budget::kMemory)
        return kNotMine;

    // The whole picture as the window keeps it: reduced by libjpeg as far as the largest
    // canvas allows, no further.
    const int reduction = budget::jpegReduction(full, budget::wholeSize(full, largest));
    const QRect part = jpegReducedPart(QRect(QPoint(0, 0), full), info, reduction);
    const QSize dots = sizeFor(o, full);
    const Framing framing{o.fill ? Placement::Filled : Placement::Fitted, 1.0, {}};
    const QSize canvas = dots * kSamplesPerDot;
    const QRect target = framedRect(full, canvas, framing, kSamplesPerDot);
    AreaAverages averages(part.size(), target, dots, kSamplesPerDot, false);
    if (decodeJpegRows(file.get(), part, reduction, &work, [&averages](int y, const quint32 *pixels) {
            averages.addRow(y, pixels);
        }) != JpegTrouble::None)
        return kNotMine;
    const std::vector<quint8> values = averages.values();

    const int threshold = o.threshold >= 0 ? o.threshold
                                           : pictureThreshold(values, dots, kSamplesPerDot, target & QRect(QPoint(0, 0), canvas));
    const DotGrid grid{dots, blackDots(values, dots, threshold, ditherOf(o.dither), o.invert)};

    std::signal(SIGPIPE, SIG_IGN);
    if (o.count) {
        PostOptions posted = form;
        posted.lineEnd = QStringLiteral("\n");
        const QByteArray report = budgetReport(dots, postGridText(grid, posted), form, japanese).toLocal8Bit();
        std::fwrite(report.constData(), 1, size_t(report.size()), stderr);
        std::fflush(stderr);
    }
    bool gone = false;
    if (!writeAll(1, (postGridText(grid, form) + form.lineEnd).toUtf8(), &gone))
        return outputFailed(gone, japanese);
    if (work.cutShort()) {
        tell(cutShortText(line->input, japanese));
        return 1;
    }
    return 0;
}
