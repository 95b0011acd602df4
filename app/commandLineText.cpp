#include "commandLineText.h"
#include "commandLineShared.h"

#include "convert/conversion.h"
#include "convert/underlay.h"
#include "keeping/safeWrite.h"
#include "keeping/savedPicture.h"
#include "pictures/DecodeBudget.h"
#include "pictures/PictureFile.h"
#include "pictures/PictureLoader.h"
#include "result/budgets.h"
#include "result/dotText.h"
#include "result/textPairs.h"
#include "sizeEntry.h"

#include <QFileInfo>
#include <QIODevice>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {



// Standard input read whole, up to `most` bytes: a longer input is refused without being
// kept, as a paste that large is.
std::optional<QByteArray> readStandardInput(qint64 most)
{
    QByteArray bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            return bytes;
        if (bytes.size() + n > most)
            return std::nullopt;
        bytes.append(buffer, qsizetype(n));
    }
}

// Why a picture was not read, for a terminal: the window's own message under a Japanese
// locale, a short one in English otherwise.
QString troubleText(const QString &name, const PictureSource &source, bool japanese)
{
    if (japanese)
        return loadTroubleMessage(name, source.trouble(), source.declared(), source.fileBytes());
    switch (source.trouble()) {
    case LoadTrouble::Missing:
        return QStringLiteral("%1: no such file").arg(name);
    case LoadTrouble::Folder:
        return QStringLiteral("%1: is a folder, not a file").arg(name);
    case LoadTrouble::NoPermission:
        return QStringLiteral("%1: permission denied").arg(name);
    case LoadTrouble::TooManyPixels:
        return QStringLiteral("%1: too many pixels to decode (%2 x %3)").arg(name).arg(source.declared().width()).arg(source.declared().height());
    case LoadTrouble::FileTooLarge:
        return QStringLiteral("%1: the file is far larger than its picture needs").arg(name);
    case LoadTrouble::TooMuchMetadata:
        return QStringLiteral("%1: more metadata than a picture ever needs").arg(name);
    case LoadTrouble::TooManyScans:
        return QStringLiteral("%1: a progressive JPEG of too many scans").arg(name);
    default:
        return QStringLiteral("%1: not a BMP, JPEG, GIF or PNG picture that can be read").arg(name);
    }
}





} // namespace

int runTextCommand(const CommandLine &line, bool japanese)
{
    // A closed pipe is told by write() as EPIPE instead of ending the process unannounced.
    std::signal(SIGPIPE, SIG_IGN);
    const TextOptions &o = line.options;
    PostOptions form;
    form.braille = o.braille;
    form.colour = o.colour;
    form.lineEnd = o.lf ? QStringLiteral("\n") : QStringLiteral("\r\n");
    if (!o.pair.isEmpty()) {
        const TypedPair typed = readTypedPair(o.pair);
        if (!typed.ok) {
            const QByteArray message = usageMistake(QStringLiteral("gridglyph"), QStringLiteral("--pair: ") + typed.problem, japanese).toLocal8Bit();
            std::fwrite(message.constData(), 1, size_t(message.size()), stderr);
            return 2;
        }
        form.pair = typed.pair;
    }

    // Read as the window reads a picture opened or dropped: the same limits.
    const QSize largest(kLargestCanvas, kLargestCanvas);
    std::shared_ptr<PictureSource> source;
    QString name = line.input;
    if (line.input == QLatin1String("-")) {
        name = japanese ? QStringLiteral("標準入力") : QStringLiteral("standard input");
        const std::optional<QByteArray> bytes = readStandardInput(budget::kMostOfferedPictureBytes);
        if (!bytes) {
            tell(japanese ? QStringLiteral("標準入力の画像が大きすぎるか、読めませんでした")
                          : QStringLiteral("standard input: too large for a picture, or unreadable"));
            return 1;
        }
        source = OpenPictureData(*bytes, largest);
    } else {
        source = OpenPicture(line.input, largest);
    }
    // The whole picture decoded as large as the window keeps it (what the window's reading
    // prepares, less the unscaled top-left part the conversion never reads when it has the
    // whole), so that the averages, and the dots, are the window's to the bit.
    if (source->trouble() == LoadTrouble::None && source->hasWhole())
        source->whole(QSize(1 << 20, 1 << 20));
    if (source->trouble() != LoadTrouble::None) {
        tell(troubleText(name, *source, japanese));
        return 1;
    }

    Underlay underlay;
    underlay.take(source);
    ConvertSettings settings;
    settings.framing = Framing{o.fill ? Placement::Filled : Placement::Fitted, 1.0, {}};
    settings.automatic = o.threshold < 0;
    settings.threshold = std::max(o.threshold, 0);
    settings.dither = ditherOf(o.dither);
    settings.invert = o.invert;
    settings.colour = o.colour;
    const QSize size = sizeFor(o, source->declared());
    const QImage dots = Conversion().run(underlay, size, kLargestDotSize, settings).dots;
    // A picture too large to reduce is converted from its top-left part, decoded only now.
    if (source->trouble() != LoadTrouble::None) {
        tell(troubleText(name, *source, japanese));
        return 1;
    }

    if (o.count) {
        // Counted as the posting window counts: lines joined by one line feed.
        PostOptions posted = form;
        posted.lineEnd = QStringLiteral("\n");
        const QByteArray report = budgetReport(dots.size(), postText(dots, posted), form, japanese).toLocal8Bit();
        std::fwrite(report.constData(), 1, size_t(report.size()), stderr);
        std::fflush(stderr);
    }
    bool gone = false;
    if (!writeAll(STDOUT_FILENO, (postText(dots, form) + form.lineEnd).toUtf8(), &gone))
        return outputFailed(gone, japanese);
    if (source->work().cutShort()) {
        tell(cutShortText(name, japanese));
        return 1;
    }
    return 0;
}

int runPngCommand(const CommandLine &line, bool japanese)
{
    std::signal(SIGPIPE, SIG_IGN);
    std::vector<DotPair> pairs = builtInPairs();
    if (!line.options.pair.isEmpty()) {
        const TypedPair typed = readTypedPair(line.options.pair);
        if (!typed.ok) {
            const QByteArray message = usageMistake(QStringLiteral("gridglyph"), QStringLiteral("--pair: ") + typed.problem, japanese).toLocal8Bit();
            std::fwrite(message.constData(), 1, size_t(message.size()), stderr);
            return 2;
        }
        pairs.insert(pairs.begin(), typed.pair);
    }

    const qint64 most = kMostSavedBytes;
    QByteArray bytes;
    QString name = line.input;
    if (line.input == QLatin1String("-")) {
        name = japanese ? QStringLiteral("標準入力") : QStringLiteral("standard input");
        const std::optional<QByteArray> read = readStandardInput(most);
        if (!read) {
            tell(japanese ? QStringLiteral("標準入力が大きすぎるか、読めませんでした") : QStringLiteral("standard input: too large, or unreadable"));
            return 1;
        }
        bytes = *read;
    } else {
        FileTrouble trouble = FileTrouble::None;
        const std::unique_ptr<QIODevice> device = openPictureFile(line.input, nullptr, &trouble);
        if (!device) {
            tell(trouble == FileTrouble::Missing        ? (japanese ? QStringLiteral("%1: 見つかりません") : QStringLiteral("%1: no such file")).arg(name)
                 : trouble == FileTrouble::Folder       ? (japanese ? QStringLiteral("%1: フォルダーです") : QStringLiteral("%1: is a folder, not a file")).arg(name)
                 : trouble == FileTrouble::NoPermission ? (japanese ? QStringLiteral("%1: 読む権限がありません") : QStringLiteral("%1: permission denied")).arg(name)
                                                        : (japanese ? QStringLiteral("%1: 読み込めませんでした") : QStringLiteral("%1: cannot be read")).arg(name));
            return 1;
        }
        if (device->size() > most) {
            tell(tooLargeToOpen(name, device->size(), japanese));
            return 1;
        }
        bytes = device->readAll();
    }

    const OpenedPicture opened = readSavedPicture(bytes, pairs, kLargestSide);
    if (opened.dots.isNull()) {
        tell(japanese ? QStringLiteral("%1: 絵にできませんでした。").arg(shownFileName(name)) + opened.message
                      : QStringLiteral("%1: not a picture's text of at most %2 x %2 dots (--pair XY reads X as black, Y as white)")
                            .arg(shownFileName(name)).arg(kLargestSide));
        return 1;
    }
    const QByteArray png = picturePng(opened.dots);
    if (line.pngFile == QLatin1String("-")) {
        bool gone = false;
        return writeAll(STDOUT_FILENO, png, &gone) ? 0 : outputFailed(gone, japanese);
    }
    // Only a file is ever written: a device or a pipe named here is refused, not replaced.
    const bool older = pathKind(line.pngFile) == PathKind::File;
    if (const WriteTrouble trouble = writeWholeFile(line.pngFile, png); trouble != WriteTrouble::None) {
        tell(writeTroubleText(trouble, shownFileName(line.pngFile), older, japanese));
        return 1;
    }
    return 0;
}
