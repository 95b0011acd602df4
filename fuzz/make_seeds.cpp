// Writes the fuzzer's seeds: the opening bytes of every large and hostile picture the tests
// load, so that mutation starts from headers that claim huge sizes, progressive scans and
// interlacing rather than from nothing.
#include "pictureFiles.h"

#include <QDir>
#include <QGuiApplication>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QDir dir(app.arguments().value(1, QStringLiteral(".")));
    int n = 0;
    for (const pictureFiles::CorpusFile &file : pictureFiles::largeAndHostileFiles()) {
        const QString name = QString::fromLatin1(file.name).replace(QLatin1Char(' '), QLatin1Char('-'));
        if (!pictureFiles::write(dir.filePath(name), file.make().left(1024)))
            return 1;
        ++n;
    }
    // Whole small files with structure, a turned photo, and texts of pictures.
    using namespace pictureFiles;
    const QImage marked = markedPicture(9, 5);
    const std::pair<const char *, QByteArray> whole[] = {
        {"marked.bmp", encodedImage(marked, "BMP")},
        {"marked-top-down.bmp", topDownBmp(marked)},
        {"marked.png", encodedImage(marked, "PNG")},
        {"marked.gif", markedGif(9, 5)},
        {"marked.jpg", encodedImage(marked, "JPEG", 90)},
        {"turned.jpg", withSegments(encodedImage(marked, "JPEG", 90), exifOrientation(6))},
        {"commented.jpg", withSegments(encodedImage(marked, "JPEG", 90), comments(300))},
        {"texted.png", withChunks(encodedImage(marked, "PNG"), zTxtChunk(2000) + privateChunks(64))},
        {"squares.txt", QStringLiteral("■□■\r\n□□■\r\n").toUtf8()},
        {"emoji.txt", QStringLiteral("⬛️⬜\n⬜⬛\n").toUtf8()},
        {"blocks.txt", QStringLiteral("█\u2003█\n\u2003█").toUtf8()},
    };
    for (const auto &[name, bytes] : whole) {
        if (!write(dir.filePath(QString::fromLatin1(name)), bytes))
            return 1;
        ++n;
    }
    qInfo("%d seeds in %s", n, qPrintable(dir.path()));
    return 0;
}
