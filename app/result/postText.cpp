#include "postText.h"

#include <algorithm>

namespace {

QString brailleText(const DotGrid &shown, const PostOptions &options)
{
    const int columns = (shown.size.width() + 1) / 2, rows = (shown.size.height() + 3) / 4;
    QString text;
    text.reserve(qsizetype(rows) * (columns + 2));
    for (int row = 0; row < rows; ++row) {
        if (row > 0)
            text += options.lineEnd;
        for (int column = 0; column < columns; ++column) {
            char32_t c = kBrailleBlank;
            for (int dy = 0; dy < 4; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    const int x = column * 2 + dx, y = row * 4 + dy;
                    // The padding beyond the picture is white, swapped or not.
                    const bool inside = x < shown.size.width() && y < shown.size.height();
                    if (inside && shown.at(x, y) != options.swap)
                        c |= char32_t(brailleBit(dx, dy));
                }
            text += QChar(char16_t(c));
        }
    }
    return text;
}

// The grid without its empty margins: the smallest rectangle that holds every black dot.
DotGrid trimmedGrid(const DotGrid &grid)
{
    int left = grid.size.width(), right = -1, top = grid.size.height(), bottom = -1;
    for (int y = 0; y < grid.size.height(); ++y)
        for (int x = 0; x < grid.size.width(); ++x)
            if (grid.at(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    DotGrid out{QSize(std::max(right - left + 1, 0), std::max(bottom - top + 1, 0)), {}};
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            out.black.push_back(grid.at(x, y));
    return out;
}

} // namespace

QString postGridText(const DotGrid &grid, const PostOptions &options)
{
    const DotGrid shown = options.trim ? trimmedGrid(grid) : grid;
    if (options.braille)
        return brailleText(shown, options);
    const QString black = characterText(options.swap ? options.pair.white : options.pair.black);
    const QString white = characterText(options.swap ? options.pair.black : options.pair.white);
    QString text;
    text.reserve(qsizetype(shown.size.height()) * (shown.size.width() * black.size() + 2));
    for (int y = 0; y < shown.size.height(); ++y) {
        if (y > 0)
            text += options.lineEnd;
        for (int x = 0; x < shown.size.width(); ++x)
            text += shown.at(x, y) ? black : white;
    }
    return text;
}
