#pragma once

#include "textPairs.h"

#include <QSize>
#include <QString>

#include <vector>

// The picture's text for posting: every row a line of the pair's characters, black and
// white swapped when asked (for dark themes), the rows and columns without a black dot at
// the edges left out when asked, lines joined by `lineEnd` with none after the last, which
// services would strip.
struct PostOptions
{
    DotPair pair = kSquares;
    // Written in braille patterns instead of the pair: a character a cell of 2 x 4 dots, a
    // raised dot for a black one (swapped: for a white one), the picture padded with white to
    // whole cells.
    bool braille = false;
    bool swap = false;
    bool trim = false;
    // A colour picture: each dot its emoji square (the pair and braille aside), black and
    // white swapped when asked, the other colours as they are.
    bool colour = false;
    QString lineEnd = QStringLiteral("\r\n");
};

// A picture of black and white dots, row by row, 1 for a black one: what the command line
// writes from without any image.
struct DotGrid
{
    QSize size;
    std::vector<quint8> black;
    bool at(int x, int y) const { return black[size_t(y) * size_t(size.width()) + size_t(x)] != 0; }
};

// The posting text of a black-and-white picture, in the pair or in braille.
QString postGridText(const DotGrid &grid, const PostOptions &options);
