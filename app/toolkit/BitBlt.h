#pragma once

#include <cstdint>

class PictureBox;

// A device context is a handle on a surface's off-screen image.
using HDC = PictureBox *;

constexpr std::uint32_t SRCCOPY = 0x00CC0020;

// Copies a width x height block from (xSrc, ySrc) of the source image to (x, y) of the
// destination image. Source pixels outside the source's drawing area read as its
// background colour; destination pixels outside the destination's area are clipped.
// Nothing is shown until the destination is refreshed. Only SRCCOPY is supported:
// any other operation copies nothing and returns false.
bool BitBlt(HDC hDestDC, int x, int y, int nWidth, int nHeight, HDC hSrcDC, int xSrc,
            int ySrc, std::uint32_t dwRop);
