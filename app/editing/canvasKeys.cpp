// The keys on the canvas: the cursor, keyboard painting, shapes by corners, the selection.
#include "canvasEditor.h"

#include "dotImage.h"
#include "dotPicture.h"
#include "shapes.h"

#include <QCoreApplication>

namespace {

bool isShape(CanvasEditor::Tool t)
{
    using T = CanvasEditor::Tool;
    return t == T::Line || t == T::Rectangle || t == T::FilledRectangle || t == T::Ellipse || t == T::FilledEllipse;
}

} // namespace

bool CanvasEditor::keyDown(int key, bool shift, bool repeated)
{
    const QSize size = picture_->size();
    if (size.isEmpty())
        return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down
               || key == Qt::Key_Space || key == Qt::Key_Delete || key == Qt::Key_Backspace;
    QPoint by;
    switch (key) {
    case Qt::Key_Left: by = QPoint(-1, 0); break;
    case Qt::Key_Right: by = QPoint(1, 0); break;
    case Qt::Key_Up: by = QPoint(0, -1); break;
    case Qt::Key_Down: by = QPoint(0, 1); break;
    case Qt::Key_Home: by = QPoint(-cursor_.x(), 0); break;
    case Qt::Key_End: by = QPoint(size.width() - 1 - cursor_.x(), 0); break;
    case Qt::Key_PageUp: by = QPoint(0, -cursor_.y()); break;
    case Qt::Key_PageDown: by = QPoint(0, size.height() - 1 - cursor_.y()); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!floating_)
            return false;
        dropSelection();
        setSelection(std::nullopt);
        return true;
    case Qt::Key_Space:
    case Qt::Key_Delete:
    case Qt::Key_Backspace: {
        const bool white = key != Qt::Key_Space;
        // A key held down repeats its press: what it began goes on.
        if (repeated || drag_ != Drag::None)
            return true;
        if (tool_ == Tool::Selection) {
            if (white && selection_)
                clearSelection(QCoreApplication::translate("CanvasEditor", "消去"));
            return true;
        }
        if (tool_ == Tool::Fill) {
            fill(cursor_, white ? dots::kWhitePixel : colour_);
            finishStep(stepName());
            return true;
        }
        if (isShape(tool_)) {
            // The first corner, then the shape to where the cursor went.
            if (!anchor_) {
                anchor_ = cursor_;
                base_ = picture_->image();
                dragColour_ = white ? dots::kWhitePixel : colour_;
                showShape(cursor_, false);
            } else {
                anchor_.reset();
                finishStep(stepName());
            }
            emit marksChanged();
            return true;
        }
        if (keyStroke_ == 0) {
            keyStroke_ = white ? Qt::Key_Delete : Qt::Key_Space;
            trail_.clear();
            paintPen(cursor_, white ? dots::kWhitePixel : colour_);
        }
        emit marksChanged();
        return true;
    }
    default:
        return false;
    }
    // The arrows: with a selection they move it; with Shift and the selection tool they mark
    // it from the cursor; else they move the cursor, painting on the way while Space or
    // Delete is held, or drawing the shape begun.
    const bool arrow = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    if (tool_ == Tool::Selection && selection_ && !shift && arrow && drag_ == Drag::None) {
        moveSelection(by);
        return true;
    }
    const QPoint to = clamped(cursor_ + by);
    if (tool_ == Tool::Selection && shift) {
        if (!selection_ || !selectAnchor_)
            selectAnchor_ = cursor_;
        setSelection(shapes::box(*selectAnchor_, to));
    }
    if (keyStroke_ != 0)
        for (const QPoint &p : shapes::line(cursor_, to))
            if (p != cursor_)
                paintPen(p, keyStroke_ == Qt::Key_Space ? colour_ : dots::kWhitePixel);
    cursor_ = to;
    if (anchor_ && drag_ == Drag::None)
        showShape(cursor_, false);
    emit marksChanged();
    return true;
}

bool CanvasEditor::key(int key, int modifiers, bool down, bool repeated)
{
    if (key == Qt::Key_Escape && down && modifiers == 0)
        return cancel();
    if ((modifiers & ~1) != 0)
        return false;
    return down ? keyDown(key, (modifiers & 1) != 0, repeated) : keyUp(key, repeated);
}

bool CanvasEditor::keyUp(int key, bool repeated)
{
    const int stroke = key == Qt::Key_Backspace ? Qt::Key_Delete : key;
    if (repeated || keyStroke_ == 0 || stroke != keyStroke_)
        return false;
    keyStroke_ = 0;
    finishStep(stepName());
    return true;
}

