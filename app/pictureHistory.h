#pragma once

#include <QImage>
#include <QUndoStack>

#include <functional>
#include <optional>

class PictureBox;

// The undo history of the dot picture, on Qt's undo stack. One step is one stroke or one
// clear: the whole picture before and after it, dots hidden by a smaller size included.
// Undoing puts the picture back and calls `show` to bring the canvas in line; nothing else
// (sizes, magnification, toggles) is a step, since none of it loses dots.
class PictureHistory
{
public:
    // At most this many steps are kept. A picture is at most 99 x 99 dots of 4 bytes, so
    // the whole history holds at most 100 x 2 x 39,204 bytes, about 7.5 MiB; a step shares
    // its pictures with its neighbours wherever nothing changed in between.
    static constexpr int kSteps = 100;

    PictureHistory(PictureBox *picture, std::function<void()> show);

    // A change begins: the picture as it is now is what undoing it gives back. A change
    // still open is ended first.
    void begin();
    // The change is over: it becomes a step, unless it left the picture as it was.
    void end();
    bool changing() const { return before_.has_value(); }

    void undo() { stack_.undo(); }
    void redo() { stack_.redo(); }
    const QUndoStack &stack() const { return stack_; }

private:
    PictureBox *picture_;
    std::function<void()> show_;
    std::optional<QImage> before_;
    QUndoStack stack_;
};
