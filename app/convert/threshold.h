#pragma once

#include <QSize>

#include <vector>

// From brightness (0 black to 255 white, one value a dot) to black and white dots.

enum class Dither {
    None,           // each dot black when darker than the threshold
    FloydSteinberg, // the error of each dot spread to its neighbours: 7/16 right, 3/16, 5/16, 1/16 below
    Atkinson,       // 1/8 of the error to six neighbours (3/4 of it spread): more contrast
    Bayer4,         // the threshold varied by the ordered 4 x 4 Bayer matrix
};

// The threshold that best splits `values` into two classes (Otsu's method): a dot is black
// when its value is below it. 128 when all values are the same.
int otsuThreshold(const std::vector<quint8> &values);

// Otsu's threshold of the dots of a `size` picture of `cell` pixel cells whose middles lie in
// `covered`, the part of the canvas the picture covers: the white margins a fitted picture
// leaves would otherwise be one class, and every tone of the picture the other. All of them
// where none does.
class QRect;
int pictureThreshold(const std::vector<quint8> &values, QSize size, int cell, const QRect &covered);

// The dots of a `size` picture from `values`: black where darker than `threshold` (0 to
// 256; a dither moves the decision around it), every black and white swapped when `invert`;
// 1 for a black dot, row by row.
std::vector<quint8> blackDots(const std::vector<quint8> &values, QSize size, int threshold, Dither dither, bool invert);
// The same as a picture (dotImage.h).
class QImage;
QImage dotsFrom(const std::vector<quint8> &values, QSize size, int threshold, Dither dither, bool invert);
