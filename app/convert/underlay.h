#pragma once

#include "placement.h"

#include <QImage>
#include <QSize>

#include <cstdint>
#include <memory>
#include <optional>

class PictureSource;

// The underlay picture as the program keeps it: its top-left part unscaled (what the
// underlay button lays under the canvas) and, where the budget allowed, the whole of it
// reduced, for fitting, filling and framing. Where it lies on the canvas now, and how strong
// the canvas shows it.
class Underlay
{
public:
    // A picture was opened: it replaces the one before. Its placement stays for the new
    // picture; a framing chosen for the one before does not.
    void take(std::shared_ptr<PictureSource> source);
    bool loaded() const { return source_ != nullptr; }
    // Whether it can lie fitted, filled or framed: only the top-left part is kept of a
    // picture too large to reduce.
    bool hasWhole() const;

    Placement placement() const { return framing_.placement; }
    // A new placement (Ctrl+1, Ctrl+2, Ctrl+3): without a framing.
    void setPlacement(Placement placement) { framing_ = Framing{placement, 1.0, {}}; }
    const Framing &framing() const { return framing_; }
    void setFraming(const Framing &framing) { framing_ = framing; }
    // The framing on a picture of `dots` dots: moved as far as the picture is scaled there.
    Framing framingFor(QSize dots) const;
    // The framing the canvas shows: fitted, filled and framed need the whole picture.
    Framing shownFraming() const { return hasWhole() ? framing_ : Framing{}; }

    // How strong the canvas shows it: 1 as it is, 0.5 and 0.25 laid over white, so that black
    // dots stand out on the darkest picture. The conversion reads it at full strength.
    double strength() const { return strength_; }
    void setStrength(double strength) { strength_ = strength; }

    // What the underlay holder holds for a canvas of `canvas` pixels, `cell` pixels a dot: the
    // top-left part when it lies as loaded, else the whole placed and framed on the canvas;
    // at the strength chosen. The same picture, placed the same way on a canvas of the same
    // size, is made once and kept.
    const QImage &holderImage(QSize canvas, int cell);
    // Tells holder images apart: the same key, the same image. Made of what the image is
    // made of, compared whole (a hash of them could collide).
    struct HolderKey
    {
        std::uint64_t generation = 0;
        double strength = 1;
        Framing framing;
        QSize canvas; // empty when it lies as loaded, whatever the canvas
        int cell = 0;
        bool operator==(const HolderKey &o) const
        {
            return generation == o.generation && strength == o.strength && framing == o.framing
                   && canvas == o.canvas && cell == o.cell;
        }
        bool operator!=(const HolderKey &o) const { return !(*this == o); }
    };
    HolderKey holderKey(QSize canvas, int cell) const;
    // Tells pictures apart: a new one each time one is taken.
    std::uint64_t generation() const { return generation_; }

    // The underlay under a `dots` picture of `cell` pixels a dot, placed and framed as
    // `framing` says, at full strength: what the conversion to dots averages.
    QImage samples(QSize dots, int cell, const Framing &framing) const;
    // The rectangle the picture covers on those samples, the rest being background.
    QRect covered(QSize dots, int cell, const Framing &framing) const;
    // The whole picture as large as it is ever kept, laid over white, and the rectangle of a
    // `dots` canvas of `cell` pixels a dot it lies on as `framing` places it: what the
    // conversion averages from, as the command line does. Null when only the top-left part
    // is kept.
    QImage whole() const;
    QRect target(QSize dots, int cell, const Framing &framing) const;

private:
    // The picture placed on a canvas of `canvas` pixels.
    QImage placed(QSize canvas, const Framing &framing, int cell, bool sampling = false) const;

    std::shared_ptr<PictureSource> source_;
    Framing framing_;
    double strength_ = 1.0;
    std::uint64_t generation_ = 0;
    QImage placed_;
    std::optional<HolderKey> placedKey_;
};

// `image` laid over white at `strength` (1: as it is, 0: white), as the canvas shows a weak
// underlay.
QImage atStrength(QImage image, double strength);
