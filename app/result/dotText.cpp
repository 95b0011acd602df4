#include "dotText.h"

#include "sizeEntry.h"

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
