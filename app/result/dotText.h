#pragma once

#include <QString>

#include <functional>
#include <optional>

// The picture as text: one line per row of dots, "■" for a black dot and "□" for every
// other, each line ended by CR LF. The size comes from the size fields' texts: the
// height first, and the width only when there is a row to write, so that a height of 0
// gives "" whatever the width field holds. Nothing when a field needed does not read
// as a number.
std::optional<QString> dotText(const QString &widthText, const QString &heightText,
                               const std::function<bool(int x, int y)> &isBlack);
