#include "stroke.h"

#include "pictureHistory.h"
#include "strokeLine.h"

Stroke::Stroke(PaintDot paint, PictureHistory *history) : paint_(std::move(paint)), history_(history) {}

void Stroke::paint(int button, QPoint dot)
{
    paint_(button, dot);
    lastPainted_ = dot;
}

void Stroke::press(int button, std::optional<QPoint> dot, bool line)
{
    if (!active_)
        history_->begin(QStringLiteral("描画"));
    active_ = true;
    if (dot && line && lastPainted_)
        forEachDotOnLine(*lastPainted_, *dot, [&](QPoint p) { paint(button, p); });
    else if (dot)
        paint(button, *dot);
    at_ = dot;
    button_ = button;
}

void Stroke::move(int button, std::optional<QPoint> dot)
{
    if (!active_)
        return;
    if (dot && at_) {
        // Every dot between the last position and this one, however far apart the window
        // system delivered them. The first was just painted with the same buttons unless
        // they changed: painting it again would change nothing and double a slow drag's work.
        const QPoint from = *at_;
        const bool skipFrom = *dot != from && button == button_;
        forEachDotOnLine(from, *dot, [&](QPoint p) {
            if (!(skipFrom && p == from))
                paint(button, p);
        });
    } else if (dot) {
        paint(button, *dot);
    }
    at_ = dot;
    button_ = button;
}

void Stroke::release()
{
    if (!active_)
        return;
    active_ = false;
    at_.reset();
    history_->end();
}
