#pragma once

#include <QString>

#include <vector>

// The two characters a picture's text is written with: one for a black dot, one for every
// other.
struct DotPair
{
    char32_t black;
    char32_t white;
    bool operator==(const DotPair &o) const { return black == o.black && white == o.white; }
};

// The pairs the program writes: "■□" (its own, the result window's), "⬛⬜" (always wide,
// emoji), and a full block with an em space, which services that strip a trailing
// ideographic space keep.
constexpr DotPair kSquares{0x25A0, 0x25A1};
constexpr DotPair kLargeSquares{0x2B1B, 0x2B1C};
constexpr DotPair kBlockAndEmSpace{0x2588, 0x2003};
std::vector<DotPair> builtInPairs();

// A character as a string (two UTF-16 units beyond the basic plane).
QString characterText(char32_t c);

// How wide a character is in East Asian text (Unicode's East Asian Width).
enum class CharWidth { Narrow, Wide, Ambiguous };
CharWidth charWidth(char32_t c);

// A pair the user types: exactly two characters (an emoji's presentation selector after
// either is allowed), of the same width, else nothing. `ambiguous` tells whether either is
// of ambiguous width, which a Western font draws half wide and so breaks the picture apart.
struct TypedPair
{
    bool ok = false;
    DotPair pair{};
    bool ambiguous = false;
    QString problem; // why it is no pair, for the user
};
TypedPair readTypedPair(const QString &typed);
