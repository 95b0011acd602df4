#include "sizeEntry.h"

std::optional<int> sizeValue(const QString &text)
{
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
    if (value > 99)
        return std::nullopt;
    return value;
}

QString invalidSizeMessage()
{
    return QStringLiteral("サイズには0から99までの数字を入力してください");
}
