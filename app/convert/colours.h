#pragma once

#include <QImage>
#include <QSize>

#include <array>
#include <vector>

#include "threshold.h"

// A picture in the nine emoji squares (dotImage.h): each dot the square nearest its colour in
// OKLab, a space in which distance goes with how different two colours look (RGB distance
// would take a dark green for black and a pale yellow for white), dithered in that space.

struct Lab
{
    float L = 0, a = 0, b = 0;
};
// An sRGB colour in OKLab (Björn Ottosson's), L from 0 (black) to 1 (white).
Lab toOklab(QRgb colour);
// The same from linear-light RGB, each 0 to 1.
Lab linearToOklab(float r, float g, float b);

// The colour of every dot of a `dots` picture over `samples` (cells of `cell` pixels a side,
// as cellAverages.h): the average of its pixels in linear light, in OKLab. Dot (x, y) at
// [y * width + x].
std::vector<Lab> cellColours(const QImage &samples, QSize dots, int cell);
// Colours in linear light (areaAverages.h) in OKLab.
std::vector<Lab> oklabOf(const std::vector<std::array<float, 3>> &linear);

// The squares' colours in OKLab, in the order of their keys.
const std::array<Lab, 9> &squareColours();
// The square nearest `colour` among the first `count` of `palette` (all nine unless a test
// gives fewer).
int nearestSquare(const Lab &colour, const Lab *palette, int count);

// The dots of a `size` picture from `values` (cellColours), each the nearest square's colour;
// a dither spreads each dot's error in OKLab (Floyd–Steinberg and Atkinson to the neighbours
// their weights name, ordered by moving each dot's lightness by the 4 x 4 Bayer matrix).
// `palette` and `pixels` stand for the nine squares unless a test gives others.
QImage squaresFrom(const std::vector<Lab> &values, QSize size, Dither dither);
QImage squaresFrom(const std::vector<Lab> &values, QSize size, Dither dither, const std::vector<Lab> &palette,
                   const std::vector<QRgb> &pixels);
