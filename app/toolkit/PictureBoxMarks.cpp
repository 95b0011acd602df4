// The marks a picture surface shows over its pixels, never part of them: the cursor's
// outline, the mirror's axis and a selection's moving dashed outline.
#include "PictureBox.h"

#include <QPainter>
#include <QRegion>
#include <QTimer>

namespace {

// An outline in two colours, so that one of them shows on white, black, the grey grid and
// most pictures (the outer one, a dark orange, stands out at 4.5:1 from the grid and from
// white; the inner one, white, from black); a blue axis; a selection in dashes of black and
// white that move along it.
const QColor kOutlineOuter(135, 51, 0);
const QColor kOutlineInner(255, 255, 255);
const QColor kAxis(0, 120, 255);
constexpr int kDash = 4;
constexpr int kDashStepMs = 150;

void frame(QPainter &p, const QRect &r, const QColor &c)
{
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), c);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), c);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), c);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), c);
}

// The frame of `r` in dashes, counted along it from the top-left corner, clockwise.
void dashedFrame(QPainter &p, const QRect &r, int phase)
{
    const int w = r.width(), h = r.height();
    const int length = 2 * (w + h) - 4;
    for (int i = 0; i < length; i += kDash) {
        const QColor c = ((i + phase) / kDash) % 2 ? Qt::white : Qt::black;
        for (int j = i; j < std::min(i + kDash, length); ++j) {
            QPoint at;
            if (j < w)
                at = QPoint(r.left() + j, r.top());
            else if (j < w + h - 1)
                at = QPoint(r.right(), r.top() + j - w + 1);
            else if (j < 2 * w + h - 2)
                at = QPoint(r.right() - (j - w - h + 2), r.bottom());
            else
                at = QPoint(r.left(), r.bottom() - (j - 2 * w - h + 3));
            p.fillRect(QRect(at, QSize(1, 1)), c);
        }
    }
}

} // namespace

void PictureBox::drawMarks(QPainter &p, const std::function<int(int)> &toX, const std::function<int(int)> &toY, int high)
{
    // Each ring on the first device pixel of the block's first and last pixels (a grid line
    // is one device pixel wide), the outline's inner one inside it.
    const auto outer = [&](const QRect &o) { return QRect(QPoint(toX(o.left()), toY(o.top())), QPoint(toX(o.right()), toY(o.bottom()))); };
    if (selection_)
        dashedFrame(p, outer(*selection_), phase_);
    if (outline_) {
        const QRect o = outer(*outline_);
        frame(p, o, kOutlineOuter);
        if (o.width() > 2 && o.height() > 2)
            frame(p, o.adjusted(1, 1, -1, -1), kOutlineInner);
    }
    if (axis_)
        p.fillRect(QRect(toX(*axis_), 0, 1, high), kAxis);
}

QRect PictureBox::markArea(const QRect &block) const
{
    // A pixel around it too: at a fractional scale a ring may reach the next device pixel.
    return block.adjusted(-1, -1, 1, 1) & area();
}

void PictureBox::setOutline(std::optional<QRect> block)
{
    if (block == outline_)
        return;
    if (outline_)
        update(markArea(*outline_));
    outline_ = block;
    if (outline_)
        update(markArea(*outline_));
}

void PictureBox::setAxis(std::optional<int> column)
{
    if (column == axis_)
        return;
    if (axis_)
        update(markArea(QRect(*axis_, 0, 1, height_)));
    axis_ = column;
    if (axis_)
        update(markArea(QRect(*axis_, 0, 1, height_)));
}

void PictureBox::setSelection(std::optional<QRect> block)
{
    if (block == selection_)
        return;
    const auto ring = [this](const QRect &r) {
        QRegion region;
        for (const QRect &edge : {QRect(r.left(), r.top(), r.width(), 1), QRect(r.left(), r.bottom(), r.width(), 1),
                                  QRect(r.left(), r.top(), 1, r.height()), QRect(r.right(), r.top(), 1, r.height())})
            region += markArea(edge);
        return region;
    };
    if (selection_)
        update(ring(*selection_));
    selection_ = block;
    if (!selection_) {
        if (dashes_)
            dashes_->stop();
        return;
    }
    update(ring(*selection_));
    // The dashes move along it while it is there.
    if (!dashes_) {
        dashes_ = new QTimer(this);
        dashes_->setInterval(kDashStepMs);
        connect(dashes_, &QTimer::timeout, this, [this, ring] {
            phase_ = (phase_ + 1) % (2 * kDash);
            if (selection_)
                update(ring(*selection_));
        });
    }
    dashes_->start();
}
