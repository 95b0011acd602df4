#include "dotText.h"

#include "sizeEntry.h"
#include "dotImage.h"

std::optional<QString> dotText(const QString &widthText, const QString &heightText,
                               const std::function<bool(int, int)> &isBlack)
{
    const std::optional<int> height = sizeValue(heightText);
    if (!height)
        return std::nullopt;
    if (*height == 0)
        return QString();
    const std::optional<int> width = sizeValue(widthText);
    if (!width)
        return std::nullopt;

    QString text;
    text.reserve(qsizetype(*height) * (*width + 2));
    for (int y = 0; y < *height; ++y) {
        for (int x = 0; x < *width; ++x)
            text += isBlack(x, y) ? QChar(0x25A0) : QChar(0x25A1);
        text += QLatin1String("\r\n");
    }
    return text;
}

QString pictureText(const QImage &dots, bool colour)
{
    if (!colour)
        return dotText(QString::number(dots.width()), QString::number(dots.height()),
                       [&dots](int x, int y) { return dots::isBlack(dots, x, y); })
            .value_or(QString());
    QString text;
    text.reserve(qsizetype(dots.height()) * (dots.width() * 2 + 2));
    for (int y = 0; y < dots.height(); ++y) {
        for (int x = 0; x < dots.width(); ++x)
            text += characterText(squareCharacter(dots::at(dots, x, y)));
        text += QLatin1String("\r\n");
    }
    return text;
}

char32_t squareCharacter(QRgb dot)
{
    const int square = dots::squareOf(dot);
    return dots::kSquares[size_t(square < 0 ? 1 : square)].character;
}

QImage trimmed(const QImage &picture)
{
    QRect box;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (!dots::isWhite(dots::at(picture, x, y)))
                box |= QRect(x, y, 1, 1);
    return box.isEmpty() ? dots::white(QSize(0, 0)) : picture.copy(box);
}


QString postText(const QImage &picture, const PostOptions &options)
{
    const QImage shown = options.trim ? trimmed(picture) : picture;
    if (options.colour) {
        QString text;
        for (int y = 0; y < shown.height(); ++y) {
            if (y > 0)
                text += options.lineEnd;
            for (int x = 0; x < shown.width(); ++x) {
                const int found = dots::squareOf(dots::at(shown, x, y));
                int square = found < 0 ? 1 : found;
                if (options.swap && square < 2)
                    square = 1 - square;
                text += characterText(dots::kSquares[size_t(square)].character);
            }
        }
        return text;
    }
    DotGrid grid{shown.size(), std::vector<quint8>(size_t(shown.width()) * size_t(shown.height()))};
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            grid.black[size_t(y) * size_t(shown.width()) + size_t(x)] = dots::isBlack(shown, x, y);
    PostOptions asShown = options;
    asShown.trim = false; // trimmed above already
    return postGridText(grid, asShown);
}
