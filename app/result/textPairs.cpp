#include "textPairs.h"

#include <QCoreApplication>
#include <QList>

#include <unicode/uchar.h>

std::vector<DotPair> builtInPairs() { return {kSquares, kLargeSquares, kBlockAndEmSpace}; }

QString characterText(char32_t c) { return QString::fromUcs4(&c, 1); }

namespace {
QByteArray nameOf(char32_t c);
} // namespace

QString characterShown(char32_t c)
{
    switch (u_charType(UChar32(c))) {
    case U_CONTROL_CHAR:
    case U_FORMAT_CHAR:
    case U_NON_SPACING_MARK:
    case U_ENCLOSING_MARK:
    case U_COMBINING_SPACING_MARK:
    case U_SPACE_SEPARATOR:
    case U_LINE_SEPARATOR:
    case U_PARAGRAPH_SEPARATOR:
    case U_PRIVATE_USE_CHAR:
    case U_SURROGATE:
    case U_UNASSIGNED:
        break;
    default:
        return characterText(c);
    }
    const QString code = QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
    // Controls have no name, only their code point.
    const QByteArray name = nameOf(c);
    return name.isEmpty() ? code : code + QLatin1Char(' ') + QString::fromLatin1(name);
}

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
        result.problem = QCoreApplication::translate("textPairs", "黒と白の2文字を入力してください。");
        return result;
    }
    if (chars[0] == chars[1]) {
        result.problem = QCoreApplication::translate("textPairs", "黒と白には違う文字を入力してください。");
        return result;
    }
    for (char32_t c : chars) {
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c == '\r' || c == '\n') {
            result.problem = QCoreApplication::translate("textPairs", "改行や制御文字は使えません。");
            return result;
        }
    }
    const CharWidth a = charWidth(chars[0]), b = charWidth(chars[1]);
    const auto wide = [](CharWidth w) { return w != CharWidth::Narrow; };
    if (wide(a) != wide(b)) {
        result.problem = QCoreApplication::translate("textPairs", "2文字の幅がそろっていません（全角と半角）。");
        return result;
    }
    result.ok = true;
    result.pair = DotPair{chars[0], chars[1]};
    result.ambiguous = a == CharWidth::Ambiguous || b == CharWidth::Ambiguous;
    return result;
}

namespace {

QByteArray nameOf(char32_t c)
{
    char name[256] = {};
    UErrorCode error = U_ZERO_ERROR;
    const int32_t length = u_charName(UChar32(c), U_UNICODE_CHAR_NAME, name, sizeof name, &error);
    return U_FAILURE(error) || length <= 0 ? QByteArray() : QByteArray(name, length);
}

// The name with its word BLACK changed to WHITE or WHITE to BLACK: "MEDIUM BLACK CIRCLE"
// becomes "MEDIUM WHITE CIRCLE".
QByteArray otherColour(const QByteArray &name, const QByteArray &from, const QByteArray &to)
{
    const QList<QByteArray> words = name.split(' ');
    if (words.count(from) != 1)
        return {};
    QList<QByteArray> changed;
    for (const QByteArray &w : words)
        changed << (w == from ? to : w);
    return changed.join(' ');
}

} // namespace

std::optional<DotPair> blackAndWhite(char32_t a, char32_t b)
{
    const QByteArray na = nameOf(a), nb = nameOf(b);
    if (na.isEmpty() || nb.isEmpty())
        return std::nullopt;
    if (otherColour(na, "BLACK", "WHITE") == nb)
        return DotPair{a, b};
    if (otherColour(nb, "BLACK", "WHITE") == na)
        return DotPair{b, a};
    return std::nullopt;
}

std::optional<DotPair> blackAndWhitePartner(char32_t c)
{
    const QByteArray name = nameOf(c);
    for (const auto &[from, to] : {std::pair<QByteArray, QByteArray>{"BLACK", "WHITE"}, {"WHITE", "BLACK"}}) {
        const QByteArray other = otherColour(name, from, to);
        if (other.isEmpty())
            continue;
        UErrorCode error = U_ZERO_ERROR;
        const UChar32 partner = u_charFromName(U_UNICODE_CHAR_NAME, other.constData(), &error);
        if (U_SUCCESS(error) && partner >= 0)
            return blackAndWhite(c, char32_t(partner));
    }
    return std::nullopt;
}
