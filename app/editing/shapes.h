#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

#include <vector>

// The tools' drawing as pure functions of dot positions and pictures (dotImage.h). Shapes
// are lists of dots, which may lie outside a picture: whoever paints them clips them.
namespace shapes {

// The rectangle with corners `a` and `b`, both included, whichever way round they are given.
// (QRect's normalized() cuts a row and a column from a rectangle given the wrong way round.)
QRect box(QPoint a, QPoint b);

// The dots of the straight line from `a` to `b`, both ends included, one dot per step along
// the longer axis (Bresenham's line).
std::vector<QPoint> line(QPoint a, QPoint b);
// `b` moved onto the nearest line from `a` that is horizontal, vertical or at 45 degrees.
QPoint snapped(QPoint a, QPoint b);
// `b` moved so that `a` and it are opposite corners of a square as large as the larger side.
QPoint squared(QPoint a, QPoint b);

// The rectangle with corners `a` and `b`, both included: its outline, or all of it.
std::vector<QPoint> rectangle(QPoint a, QPoint b, bool filled);
// The ellipse that fits the rectangle with corners `a` and `b`: symmetric within it, its
// outline one dot thick, unbroken and without doubled corners; or all of it.
std::vector<QPoint> ellipse(QPoint a, QPoint b, bool filled);

// The dots of the 4-connected region of `at`'s colour: a line of one dot meeting another only
// at a corner stops it. Nothing when `at` lies outside the picture.
std::vector<QPoint> region(const QImage &picture, QPoint at);

// Whether `b`, painted between `a` and `c`, makes an L-shaped corner: `a` and `c` touch at a
// corner and `b` touches both at a side, so the line is unbroken without it.
bool isDoubledCorner(QPoint a, QPoint b, QPoint c);

// The part of `picture` inside `area` (cut to the picture), as a picture of its own.
QImage part(const QImage &picture, QRect area);
// `picture` with `area` white.
QImage emptied(const QImage &picture, QRect area);
// `picture` with `part` laid over it, its top-left corner at `at`; what lies outside is cut.
QImage placed(const QImage &picture, const QImage &part, QPoint at);

} // namespace shapes
