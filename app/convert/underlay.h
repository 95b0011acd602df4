#pragma once

#include "placement.h"

#include <QImage>
#include <QSize>

#include <cstdint>
#include <memory>

class PictureSource;

// The underlay picture as the program keeps it: its top-left part unscaled (what the
// underlay button lays under the canvas) and, where the budget allowed, the whole of it
// reduced, for fitting and filling. And where it lies on the canvas now.
class Underlay
{
public:
    // A picture was opened: it replaces the one before.
    void take(std::shared_ptr<PictureSource> source);
    bool loaded() const { return source_ != nullptr; }
    // Whether it can lie fitted or filled: only the top-left part is kept of a picture too
    // large to reduce.
    bool hasWhole() const;

    Placement placement() const { return placement_; }
    void setPlacement(Placement placement) { placement_ = placement; }
    // The placement the canvas shows: fitted and filled need the whole picture.
    Placement shownPlacement() const { return hasWhole() ? placement_ : Placement::AsLoaded; }

    // What the underlay holder holds for a canvas of `canvas` pixels: the top-left part
    // when it lies as loaded, else the whole placed on the canvas. The same picture, placed
    // the same way on a canvas of the same size, is made once and kept.
    const QImage &holderImage(QSize canvas);
    // Tells holder images apart: the same key, the same image.
    std::uint64_t holderKey(QSize canvas) const;

    // The underlay under a `dots` picture of `cell` pixels a dot, placed as `placement`:
    // what the conversion to dots averages.
    QImage samples(QSize dots, int cell, Placement placement) const;
    // The rectangle the picture covers on those samples, the rest being background.
    QRect covered(QSize dots, int cell, Placement placement) const;

private:
    // The picture placed on a canvas of `canvas` pixels.
    QImage placed(QSize canvas, Placement placement) const;

    std::shared_ptr<PictureSource> source_;
    Placement placement_ = Placement::AsLoaded;
    std::uint64_t generation_ = 0;
    QImage placed_;
    std::uint64_t placedKey_ = 0;
};
