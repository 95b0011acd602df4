#include "textPairs.h"

#include <QList>

#include <unicode/uchar.h>

std::vector<DotPair> builtInPairs() { return {kSquares, kLargeSquares, kBlockAndEmSpace}; }

QString characterText(char32_t c) { return QString::fromUcs4(&c, 1); }

CharWidth charWidth(char32_t c)
{
    switch (u_getIntPropertyValue(UChar32(c), UCHAR_EAST_ASIAN_WIDTH)) {
    case U_EA_WIDE:
    case U_EA_FULLWIDTH:
        return CharWidth::Wide;
    case U_EA_AMBIGUOUS:
        return CharWidth::Ambiguous;
    default:
        return CharWidth::Narrow;
    }
}

TypedPair readTypedPair(const QString &typed)
{
    TypedPair result;
    std::vector<char32_t> chars;
    for (char32_t c : typed.toUcs4())
        if (c != 0xFE0F && c != 0xFE0E)
            chars.push_back(c);
    if (chars.size() != 2) {
        result.problem = QStringLiteral("黒と白の2文字を入力してください。");
        return result;
    }
    if (chars[0] == chars[1]) {
        result.problem = QStringLiteral("黒と白には違う文字を入力してください。");
        return result;
    }
    for (char32_t c : chars) {
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c == '\r' || c == '\n') {
            result.problem = QStringLiteral("改行や制御文字は使えません。");
            return result;
        }
    }
    const CharWidth a = charWidth(chars[0]), b = charWidth(chars[1]);
    const auto wide = [](CharWidth w) { return w != CharWidth::Narrow; };
    if (wide(a) != wide(b)) {
        result.problem = QStringLiteral("2文字の幅がそろっていません（全角と半角）。");
        return result;
    }
    result.ok = true;
    result.pair = DotPair{chars[0], chars[1]};
    result.ambiguous = a == CharWidth::Ambiguous || b == CharWidth::Ambiguous;
    return result;
}
