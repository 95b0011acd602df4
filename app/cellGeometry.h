#pragma once

#include <QPoint>
#include <QRect>

#include <cmath>
#include <cstdint>
#include <optional>

// Dot (x, y) owns the dotSize x dotSize block of canvas pixels at (x*D, y*D). The block's
// first column and row carry the grid; the rest is the cell a black dot fills.
inline QRect cellRect(int column, int row, int dotSize)
{
    return QRect(column * dotSize + 1, row * dotSize + 1, dotSize - 1, dotSize - 1);
}

// The dot under canvas position (x, y), rounding toward negative infinity so that the
// first dotSize pixels left of or above the canvas are column or row -1, never 0.
// Nothing when the position is not a number or too far out to name a dot.
inline std::optional<QPoint> dotAt(double x, double y, int dotSize)
{
    if (dotSize <= 0)
        return std::nullopt;
    const double column = std::floor(x / dotSize);
    const double row = std::floor(y / dotSize);
    // Keep every cell coordinate, column * dotSize + dotSize included, inside 32 bits.
    const double limit = double(INT32_MAX) / dotSize - 1;
    if (!(std::fabs(column) <= limit && std::fabs(row) <= limit))
        return std::nullopt;
    return QPoint(int(column), int(row));
}
