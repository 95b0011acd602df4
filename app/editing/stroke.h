#pragma once

#include <QPoint>
#include <QString>

#include <functional>
#include <optional>

class PictureHistory;

// One stroke of painting, by mouse or by keyboard alike: from a press to its release, every
// dot the pointer or the cursor passes over is painted, in an unbroken line however far apart
// two positions are, and the whole stroke is one step of the undo history.
class Stroke
{
public:
    // Paints one dot of the picture with `button`: 1 black, anything else white.
    using PaintDot = std::function<void(int button, QPoint dot)>;
    Stroke(PaintDot paint, PictureHistory *history);

    // A press of `button` at `dot` (nothing: outside the picture, where nothing is painted).
    // A press during a stroke (a second button, or the keyboard during a drag) continues it.
    // `line`: paint the straight line from the last dot painted, in this or an earlier stroke.
    void press(int button, std::optional<QPoint> dot, bool line = false);
    // The pointer or cursor moved to `dot` with `button` held.
    void move(int button, std::optional<QPoint> dot);
    // The stroke is over: it becomes one undo step, unless it changed nothing.
    void release();

    bool active() const { return active_; }
    // The last dot painted inside the picture, by any stroke.
    std::optional<QPoint> lastPainted() const { return lastPainted_; }
    // The picture changed size or was replaced: a line from before would start nowhere.
    void forgetLastPainted() { lastPainted_.reset(); }

private:
    void paint(int button, QPoint dot);

    PaintDot paint_;
    PictureHistory *history_;
    bool active_ = false;
    // Where the stroke is now, while inside the picture, and the buttons that painted there.
    std::optional<QPoint> at_;
    int button_ = 0;
    std::optional<QPoint> lastPainted_;
};
