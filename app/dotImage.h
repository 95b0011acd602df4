#pragma once

#include <QImage>

#include <array>

// A dot picture as the pure functions pass it around: one 32-bit RGB pixel a dot, the same
// form the document keeps it in. A dot is black when its colour is exactly 0; every other
// colour is not black, and the functions write white as 0xFFFFFF. A colour picture holds the
// nine emoji squares' colours, black and white among them.
namespace dots {

constexpr QRgb kBlackPixel = 0xFF000000u;
constexpr QRgb kWhitePixel = 0xFFFFFFFFu;

inline bool isBlack(QRgb pixel) { return (pixel & 0xFFFFFFu) == 0; }
inline bool isWhite(QRgb pixel) { return (pixel & 0xFFFFFFu) == 0xFFFFFFu; }
inline bool isBlack(const QImage &picture, int x, int y)
{
    return x >= 0 && y >= 0 && x < picture.width() && y < picture.height()
           && isBlack(reinterpret_cast<const QRgb *>(picture.constScanLine(y))[x]);
}
// The colour of dot (x, y); white outside the picture.
inline QRgb at(const QImage &picture, int x, int y)
{
    if (x < 0 || y < 0 || x >= picture.width() || y >= picture.height())
        return kWhitePixel;
    return reinterpret_cast<const QRgb *>(picture.constScanLine(y))[x] | 0xFF000000u;
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
inline void put(QImage &picture, int x, int y, QRgb colour)
{
    reinterpret_cast<QRgb *>(picture.scanLine(y))[x] = colour | 0xFF000000u;
}

// The nine emoji squares of a colour picture, in the order of their keys 1 to 9, each with
// the one colour the canvas, the true-size picture and a PNG show it in: the seven colours as
// Noto Color Emoji draws its squares (the colour of most of each glyph); black and white pure,
// as a black-and-white picture has them (Noto draws them #424242 and #E0E0E0), so that a dot
// is the same black in either kind of picture.
struct Square
{
    char32_t character;
    QRgb pixel;
    const char *name; // in the program's words
};
inline constexpr std::array<Square, 9> kSquares{{
    {0x2B1B, kBlackPixel, QT_TRANSLATE_NOOP("commands", "黒")},
    {0x2B1C, kWhitePixel, QT_TRANSLATE_NOOP("commands", "白")},
    {0x1F7E5, 0xFFF44336u, QT_TRANSLATE_NOOP("commands", "赤")},
    {0x1F7E7, 0xFFFF9800u, QT_TRANSLATE_NOOP("commands", "オレンジ")},
    {0x1F7E8, 0xFFFFCC32u, QT_TRANSLATE_NOOP("commands", "黄")},
    {0x1F7E9, 0xFF7CB342u, QT_TRANSLATE_NOOP("commands", "緑")},
    {0x1F7E6, 0xFF1976D2u, QT_TRANSLATE_NOOP("commands", "青")},
    {0x1F7EA, 0xFFAB47BCu, QT_TRANSLATE_NOOP("commands", "紫")},
    {0x1F7EB, 0xFFB76D54u, QT_TRANSLATE_NOOP("commands", "茶")},
}};
// The square of a colour, or -1 for one that is none of them.
inline int squareOf(QRgb pixel)
{
    for (size_t i = 0; i < kSquares.size(); ++i)
        if (((kSquares[i].pixel ^ pixel) & 0xFFFFFFu) == 0)
            return int(i);
    return -1;
}

} // namespace dots

// Whether any dot of a picture is a colour other than black and white.
inline bool hasColour(const QImage &picture)
{
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = dots::at(picture, x, y);
            if (!dots::isBlack(p) && !dots::isWhite(p))
                return true;
        }
    return false;
}
