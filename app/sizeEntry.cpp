#include "sizeEntry.h"

#include <QCoreApplication>

std::optional<int> sizeValue(const QString &text)
{
    // Longer than any number in range can be written, leading zeros included, is not one:
    // it also keeps the sum below from overflowing.
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    // The fields hold two characters; anything larger was not typed there and would
    // only make a picture no one asked for.
    if (value > kLargestSide)
        return std::nullopt;
    return value;
}

std::optional<QSize> sizeOf(const QString &widthText, const QString &heightText)
{
    const std::optional<int> w = sizeValue(widthText);
    const std::optional<int> h = sizeValue(heightText);
    if (!w || !h)
        return std::nullopt;
    return QSize(*w, *h);
}

QString invalidSizeMessage()
{
    return QCoreApplication::translate("sizeEntry", "サイズには0から%1までの数字を入力してください").arg(kLargestSide);
}

void keepDigits(std::int16_t &key)
{
    if (key != 8 && (key > '9' || key < '0'))
        key = 0;
}
