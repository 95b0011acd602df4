#pragma once

#include <QString>

#include <optional>

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
// A character as a message shows it: itself where it can be seen, else (a control, a
// combining mark, a space of any width, a line break, a format or private character) its
// code point and Unicode name, "U+0301 COMBINING ACUTE ACCENT".
QString characterShown(char32_t c);

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

// Two characters whose Unicode names say BLACK and WHITE of the same shape (●○ BLACK and
// WHITE CIRCLE, ◆◇, ★☆, ▲△, ♥♡ and the like): the pair with the BLACK one black, in either
// order given; nothing for any other two. `c`'s own partner, for one character alone.
std::optional<DotPair> blackAndWhite(char32_t a, char32_t b);
std::optional<DotPair> blackAndWhitePartner(char32_t c);

// Braille patterns (U+2800 to U+28FF), a form of a picture's text of its own: each character
// stands for a cell of 2 x 4 dots, a raised dot for a black one. Dots 1 to 3 run down the
// left column (bits 0x01, 0x02, 0x04), dots 4 to 6 down the right one (0x08, 0x10, 0x20), and
// the bottom row is dot 7 left (0x40) and dot 8 right (0x80).
constexpr char32_t kBrailleBlank = 0x2800;
inline bool isBraille(char32_t c) { return c >= 0x2800 && c <= 0x28FF; }
// The bit of dot (x, y) of a cell, x 0 or 1, y 0 to 3.
inline int brailleBit(int x, int y) { return y == 3 ? (x == 0 ? 0x40 : 0x80) : (1 << (y + 3 * x)); }
