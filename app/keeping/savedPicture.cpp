#include "savedPicture.h"

#include "dotImage.h"
#include "pictures/PictureFile.h"
#include "pictures/PictureLoader.h"
#include "result/dotText.h"
#include "result/textReading.h"

#include <QBuffer>
#include <QImageWriter>

QString pictureText(const QImage &dots)
{
    return dotText(QString::number(dots.width()), QString::number(dots.height()),
                   [&dots](int x, int y) { return dots::isBlack(dots, x, y); })
        .value_or(QString());
}

QByteArray picturePng(const QImage &dots)
{
    QImage image(dots.size(), QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    for (int y = 0; y < dots.height(); ++y)
        for (int x = 0; x < dots.width(); ++x)
            if (dots::isBlack(dots, x, y))
                image.setPixel(x, y, 1);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.write(image);
    return bytes;
}

OpenedPicture readSavedPicture(const QByteArray &bytes, const std::vector<DotPair> &pairs, int largest)
{
    OpenedPicture opened;
    if (pictureFormatOf(bytes) != PictureFormat::None) {
        // Read with the loader's budget, whatever the file claims.
        const std::shared_ptr<PictureSource> picture = OpenPictureData(bytes, QSize(largest, largest));
        const QSize size = picture->declared();
        if (picture->trouble() == LoadTrouble::None && (size.width() > largest || size.height() > largest)) {
            opened.message = QStringLiteral("この画像は %1 × %2 ピクセルあり、1ピクセルを1ドットとして開けるのは %3 × %3 までです。"
                                            "大きな画像は「下絵」ボタンか Ctrl+V でキャンバスの下に置き、Ctrl+T で点にしてください。")
                                 .arg(size.width()).arg(size.height()).arg(largest);
            return opened;
        }
        const QImage image = picture->topLeft();
        if (picture->trouble() != LoadTrouble::None || image.isNull()) {
            opened.message = QStringLiteral("画像を読み込めませんでした。");
            return opened;
        }
        // Transparent is white: laid over white, as the canvas shows a picture.
        const QImage opaque = opaqueOverWhite(image.convertToFormat(QImage::Format_ARGB32));
        opened.dots = dots::white(opaque.size());
        for (int y = 0; y < opaque.height(); ++y)
            for (int x = 0; x < opaque.width(); ++x) {
                const QRgb p = opaque.pixel(x, y);
                if (299 * qRed(p) + 587 * qGreen(p) + 114 * qBlue(p) < 128 * 1000)
                    dots::set(opened.dots, x, y, true);
            }
        return opened;
    }
    const QString text = QString::fromUtf8(bytes);
    ReadText read = readDotText(text, pairs, largest);
    if (read.outcome == ReadText::NotDotText) {
        // Braille, or a pair of BLACK and WHITE characters; two others cannot be told apart.
        const OtherText other = readOtherText(text, largest);
        if (other.kind == OtherText::Read) {
            read = other.read;
        } else if (other.kind == OtherText::Ask) {
            opened.message = QStringLiteral("「%1」と「%2」のどちらが黒い点か分かりません。テキストを貼り付けると選べます。")
                                 .arg(characterText(other.first), characterText(other.second));
            return opened;
        }
    }
    if (read.outcome == ReadText::Picture)
        opened.dots = read.dots;
    else if (read.outcome == ReadText::NotDotText)
        opened.message = QStringLiteral("このファイルは絵のテキストでも画像でもありません。");
    else
        opened.message = readTextMessage(read, largest, true);
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
