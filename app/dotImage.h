#pragma once

#include <QImage>

// A dot picture as the pure functions pass it around: one 32-bit RGB pixel a dot, the same
// form picPreview keeps it in. A dot is black when its colour is exactly 0; every other
// colour is white, and the functions write white as 0xFFFFFF.
namespace dots {

constexpr QRgb kBlackPixel = 0xFF000000u;
constexpr QRgb kWhitePixel = 0xFFFFFFFFu;

inline bool isBlack(QRgb pixel) { return (pixel & 0xFFFFFFu) == 0; }
inline bool isBlack(const QImage &picture, int x, int y)
{
    return x >= 0 && y >= 0 && x < picture.width() && y < picture.height()
           && isBlack(reinterpret_cast<const QRgb *>(picture.constScanLine(y))[x]);
}

// A picture of `size` dots, all white.
inline QImage white(QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(kWhitePixel);
    return picture;
}

inline void set(QImage &picture, int x, int y, bool black)
{
    reinterpret_cast<QRgb *>(picture.scanLine(y))[x] = black ? kBlackPixel : kWhitePixel;
}

} // namespace dots
