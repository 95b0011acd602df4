#pragma once

#include <QMargins>
#include <QSize>

class QWidget;

constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) { return twips / kTwipsPerPixel; }
constexpr int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

// The client size that gives a window an outer size of `outerTwips` inside a frame of
// `frame` pixels on each side; never negative.
QSize clientSizeForOuter(QSize outerTwips, const QMargins &frame);

// The window's outer size, its frame included where the platform reports one.
int outerWidthTwips(const QWidget *window);
int outerHeightTwips(const QWidget *window);
void setOuterWidthTwips(QWidget *window, int twips);
void setOuterHeightTwips(QWidget *window, int twips);
// Both at once, in one resize.
void setOuterSizeTwips(QWidget *window, int widthTwips, int heightTwips);
