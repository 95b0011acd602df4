#pragma once

#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>

// The limits of the picture's size, each named once.
// A size field holds two digits: any side from 0 to 99 dots can take effect.
constexpr int kLargestSide = 99;
// The apply button cuts a larger side to this.
constexpr int kApplyLimit = 48;
// The magnification buttons go up to x12.
constexpr int kLargestDotSize = 12;
// So no canvas side is ever longer than this many pixels.
constexpr int kLargestCanvas = kLargestSide * kLargestDotSize;

// A size field's text read as a number from 0 to kLargestSide: the whole text must be ASCII
// digits ("07" is 7). Empty text, signs, spaces, exponents and other scripts' digits do not
// read. This is the one rule every command reads the fields by.
std::optional<int> sizeValue(const QString &text);

// Both fields read together: nothing when either does not read.
std::optional<QSize> sizeOf(const QString &widthText, const QString &heightText);

// A key typed into a size field: digits and Backspace (8) pass, any other becomes 0, nothing.
void keepDigits(std::int16_t &key);

// What the user is told when a size field does not read as a number.
QString invalidSizeMessage();
