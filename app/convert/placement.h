#pragma once

#include <QPointF>
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

// Where the underlay lies, framed as the user chose in the conversion window: fitted or
// filled, then scaled by `zoom` about the canvas's middle and moved so that it lies `shift`
// dots from where the placement put it. Framing needs the whole picture: lying as loaded, a
// picture is never framed. With a zoom of 1 and no shift, the placement alone.
struct Framing
{
    Framing() = default;
    Framing(Placement placement, double zoom, QPointF shift, QSize canvas = {})
        : placement(placement), zoom(zoom), shift(shift), canvas(canvas)
    {
    }

    Placement placement = Placement::AsLoaded;
    double zoom = 1.0;
    QPointF shift; // in dots
    // The canvas, in dots, the shift was measured on; empty for the one it is used on. On a
    // canvas of another size the shift is scaled with the picture, so that the same part of
    // it stays in the middle: a face framed at 48 x 48 is still framed at 32 x 32.
    QSize canvas;

    bool framed() const { return placement != Placement::AsLoaded && (zoom != 1.0 || !shift.isNull()); }
    bool operator==(const Framing &o) const
    {
        return placement == o.placement && zoom == o.zoom && shift == o.shift
            && (shift.isNull() || canvas == o.canvas);
    }
};

// The framing as it is on a canvas of `canvasDots` dots, for a picture of `picture` pixels:
// its shift in that canvas's dots.
Framing framingOn(const Framing &framing, QSize picture, QSize canvasDots);

// The rectangle the picture takes when framed, on a canvas of `cell` pixels a dot, in
// pixels; exactly placedRect's when not framed.
QRect framedRect(QSize picture, QSize canvas, const Framing &framing, int cell);

// The framing scaled by `factor` about `at`, a point of the canvas in dots from its middle:
// what lies under that point stays there.
Framing zoomedAbout(const Framing &framing, double factor, QPointF at);
// The framing moved by `dots`.
Framing movedBy(const Framing &framing, QPointF dots);

class QImage;
// The canvas-sized image of `whole` placed on a white canvas of `canvas` pixels, smoothly
// scaled; `original` is the picture's own size, whose aspect the placement keeps. Only the
// part that shows is ever scaled, however far a small picture is blown up to fill.
QImage placedImage(const QImage &whole, QSize original, QSize canvas, Placement placement);
// The same framed, on a canvas of `cell` pixels a dot. For `sampling`, a picture blown up a
// whole number of times is blown up in blocks, so that averaging the cells neither blurs one
// pixel into the next nor loses an exact colour.
QImage placedImage(const QImage &whole, QSize original, QSize canvas, const Framing &framing, int cell,
                   bool sampling = false);
