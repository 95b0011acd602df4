#include "sizeEntry.h"

std::optional<int> sizeValue(const QString &text)
{
    // Two characters is the fields' limit; a few more still fit an int with room to spare.
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

QString invalidSizeMessage()
{
    return QStringLiteral("サイズには0から99までの数字を入力してください");
}
