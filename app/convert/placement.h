#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

// Where the underlay lies on the canvas.
enum class Placement {
    AsLoaded, // unscaled, its top-left corner at the canvas's: as the underlay button loads it
    Fitted,   // the whole picture inside the canvas, aspect kept, centred; the rest background
    Filled,   // the canvas covered, aspect kept, centred; what overflows is cut
};

// The rectangle a picture of `picture` pixels takes on a canvas of `canvas` pixels; for
// Filled it reaches beyond the canvas. Empty when either size is.
QRect placedRect(QSize picture, QSize canvas, Placement placement);

// The canvas-sized image of `whole` placed on a white canvas of `canvas` pixels, smoothly
// scaled; `original` is the picture's own size, whose aspect the placement keeps. Only the
// part that shows is ever scaled, however far a small picture is blown up to fill.
QImage placedImage(const QImage &whole, QSize original, QSize canvas, Placement placement);
