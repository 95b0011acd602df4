#pragma once

#include <QString>

#include <optional>

// A size field's text read as a number from 0 to 99: the whole text must be ASCII digits
// ("07" is 7). Empty text, signs, spaces, exponents and other scripts' digits do not read.
std::optional<int> sizeValue(const QString &text);

// What the user is told when a size field does not read as a number.
QString invalidSizeMessage();
