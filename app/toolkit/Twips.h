#pragma once

class QWidget;

constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) { return twips / kTwipsPerPixel; }
constexpr int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

// The window's outer size, its frame included where the platform reports one.
int outerWidthTwips(const QWidget *window);
int outerHeightTwips(const QWidget *window);
void setOuterWidthTwips(QWidget *window, int twips);
void setOuterHeightTwips(QWidget *window, int twips);
