#include "savedPicture.h"

#include "convert/colours.h"
#include "dotImage.h"
#include "pictures/PictureFile.h"
#include "pictures/PictureLoader.h"
#include "result/dotText.h"
#include "result/textReading.h"
#include "version.h"

#include <QCoreApplication>
#include <QBuffer>
#include <QIODevice>
#include <QtEndian>
#include <QImageWriter>

QByteArray picturePng(const QImage &dots)
{
    // Black and white in one bit a pixel; a colour picture with the nine squares' colours.
    const bool colour = hasColour(dots);
    QImage image(dots.size(), colour ? QImage::Format_Indexed8 : QImage::Format_Mono);
    if (colour) {
        QList<QRgb> table;
        for (const dots::Square &square : dots::kSquares)
            table << square.pixel;
        image.setColorTable(table);
        image.fill(1);
    } else {
        image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        image.fill(0);
    }
    for (int y = 0; y < dots.height(); ++y)
        for (int x = 0; x < dots.width(); ++x) {
            const int square = dots::squareOf(dots::at(dots, x, y));
            if (colour)
                image.setPixel(x, y, uint(square < 0 ? 1 : square));
            else if (dots::isBlack(dots, x, y))
                image.setPixel(x, y, 1);
        }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setText(QStringLiteral("Software"), programVersion());
    writer.setText(QStringLiteral("GRIDGLYPH"), QStringLiteral("%1x%2").arg(dots.width()).arg(dots.height()));
    writer.write(image);
    return bytes;
}

bool isOwnPicturePng(const QByteArray &head)
{
    static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    if (!head.startsWith(signature))
        return false;
    QSize size;
    // Chunk by chunk up to the pixels: length, kind, data, check.
    for (qsizetype at = 8; at + 8 <= head.size();) {
        const quint32 length = qFromBigEndian<quint32>(head.constData() + at);
        const QByteArray kind = head.mid(at + 4, 4);
        if (length > quint32(head.size()) || at + 12 + qsizetype(length) > head.size() || kind == "IDAT")
            return false;
        const QByteArray data = head.mid(at + 8, qsizetype(length));
        if (kind == "IHDR" && data.size() >= 8)
            size = QSize(int(qFromBigEndian<quint32>(data.constData())), int(qFromBigEndian<quint32>(data.constData() + 4)));
        if (kind == "tEXt" && data.startsWith(QByteArray("GRIDGLYPH\0", 10)))
            return !size.isEmpty() && data.mid(10) == QStringLiteral("%1x%2").arg(size.width()).arg(size.height()).toLatin1();
        at += 12 + qsizetype(length);
    }
    return false;
}

bool isOwnPictureFile(const QString &path)
{
    const std::unique_ptr<QIODevice> file = openPictureFile(path);
    // The chunk comes before the pixels, in the first bytes of a file of some hundred.
    return file && isOwnPicturePng(file->read(1 << 16));
}

QString tooLargeToOpen(const QString &shownName, qint64 bytes, bool japanese)
{
    const QString size = QString::number(double(bytes) / (1 << 20), 'f', 1);
    const QString limit = QString::number(kMostSavedBytes >> 20);
    return japanese ? QCoreApplication::translate("savedPicture", "「%1」は絵のファイルとしては大きすぎます（%2 MB。開けるのは %3 MB まで）。").arg(shownName, size, limit)
                    : QStringLiteral("%1: too large for a picture's file (%2 MB; at most %3 MB)").arg(shownName, size, limit);
}

namespace {
// Below this chroma in OKLab a pixel is grey (a scanner's or a compressor's tint included).
constexpr float kGreyChroma = 0.04f;
} // namespace

OpenedPicture readSavedPicture(const QByteArray &bytes, const std::vector<DotPair> &pairs, int largest, bool inColour)
{
    OpenedPicture opened;
    if (pictureFormatOf(bytes) != PictureFormat::None) {
        // Read with the loader's budget, whatever the file claims.
        const std::shared_ptr<PictureSource> picture = OpenPictureData(bytes, QSize(largest, largest));
        const QSize size = picture->declared();
        if (picture->trouble() == LoadTrouble::None && (size.width() > largest || size.height() > largest)) {
            opened.message = QCoreApplication::translate("savedPicture", "この画像は %1 × %2 ピクセルあり、1ピクセルを1ドットとして開けるのは %3 × %3 までです。"
                                            "大きな画像は「下絵」ボタンか Ctrl+V でキャンバスの下に置き、Ctrl+T で点にしてください。")
                                 .arg(size.width()).arg(size.height()).arg(largest);
            return opened;
        }
        const QImage image = picture->topLeft();
        if (picture->trouble() != LoadTrouble::None || image.isNull()) {
            opened.message = QCoreApplication::translate("savedPicture", "画像を読み込めませんでした。");
            return opened;
        }
        // Transparent is white: laid over white, as the canvas shows a picture. Black and
        // white, darker than middle grey black; in colour, each pixel's nearest square (the
        // program's own colour PNGs come back exactly), when asked for or when it is the
        // program's own, and has colour.
        const QImage opaque = opaqueOverWhite(image.convertToFormat(QImage::Format_ARGB32));
        opened.dots = dots::white(opaque.size());
        bool colour = false;
        for (int y = 0; y < opaque.height() && !colour && (inColour || isOwnPicturePng(bytes)); ++y)
            for (int x = 0; x < opaque.width() && !colour; ++x) {
                const Lab c = toOklab(opaque.pixel(x, y));
                colour = c.a * c.a + c.b * c.b > kGreyChroma * kGreyChroma;
            }
        const auto &squares = squareColours();
        for (int y = 0; y < opaque.height(); ++y)
            for (int x = 0; x < opaque.width(); ++x) {
                const QRgb p = opaque.pixel(x, y);
                if (colour)
                    dots::put(opened.dots, x, y, dots::kSquares[size_t(nearestSquare(toOklab(p), squares.data(), 9))].pixel);
                else if (299 * qRed(p) + 587 * qGreen(p) + 114 * qBlue(p) < 128 * 1000)
                    dots::set(opened.dots, x, y, true);
            }
        return opened;
    }
    const TextIntake read = readPictureText(decodedText(bytes), pairs, largest, true);
    switch (read.kind) {
    case TextIntake::Picture:
        opened.dots = read.dots;
        break;
    case TextIntake::Refused:
        opened.message = read.message;
        break;
    case TextIntake::Ask:
        opened.message = QCoreApplication::translate("savedPicture", "「%1」と「%2」のどちらが黒い点か分かりません。テキストを貼り付けると選べます。")
                             .arg(characterShown(read.first), characterShown(read.second));
        break;
    case TextIntake::NotDotText:
        opened.message = QCoreApplication::translate("savedPicture", "このファイルは絵のテキストでも画像でもありません。");
        break;
    }
    return opened;
}

SaveTarget saveTarget(const QString &typed, int chosenType)
{
    SaveTarget target;
    target.path = typed;
    if (typed.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        target.png = true;
    else if (!typed.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive)) {
        target.png = chosenType == 2;
        target.path += target.png ? QLatin1String(".png") : QLatin1String(".txt");
    }
    return target;
}
