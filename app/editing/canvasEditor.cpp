#include "canvasEditor.h"

#include "dotImage.h"
#include "dotPicture.h"
#include "shapes.h"

#include <QCoreApplication>

#include <algorithm>


CanvasEditor::CanvasEditor(DotPicture *picture, PictureHistory *history, QObject *parent)
    : QObject(parent), picture_(picture), history_(history)
{
}

void CanvasEditor::setTool(Tool tool)
{
    if (busy())
        cancel();
    if (tool != Tool::Selection || floating_)
        dropSelection();
    anchor_.reset();
    if (tool_ == tool)
        return;
    tool_ = tool;
    setSelection(std::nullopt);
    emit toolChanged(tool);
    emit marksChanged();
}

void CanvasEditor::setMirror(bool on)
{
    mirror_ = on;
    emit marksChanged();
}

QRgb CanvasEditor::colourOf(int button) const { return button == 1 ? colour_ : dots::kWhitePixel; }

QString CanvasEditor::stepName() const
{
    switch (tool_) {
    case Tool::Pen: return QCoreApplication::translate("CanvasEditor", "描画");
    case Tool::Fill: return QCoreApplication::translate("CanvasEditor", "塗りつぶし");
    case Tool::Line: return QCoreApplication::translate("CanvasEditor", "直線");
    case Tool::Rectangle:
    case Tool::FilledRectangle: return QCoreApplication::translate("CanvasEditor", "四角");
    case Tool::Ellipse:
    case Tool::FilledEllipse: return QCoreApplication::translate("CanvasEditor", "楕円");
    case Tool::Selection: return QCoreApplication::translate("CanvasEditor", "移動");
    }
    return {};
}

QPoint CanvasEditor::mirrored(QPoint dot) const { return QPoint(picture_->width() - 1 - dot.x(), dot.y()); }

QPoint CanvasEditor::clamped(QPoint dot) const
{
    return QPoint(std::clamp(dot.x(), 0, std::max(picture_->width() - 1, 0)),
                  std::clamp(dot.y(), 0, std::max(picture_->height() - 1, 0)));
}

void CanvasEditor::paint(QPoint dot, QRgb colour)
{
    for (const QPoint p : {dot, mirrored(dot)}) {
        if (picture_->contains(p)) {
            recorder_.painted(p, picture_->dot(p), colour);
            picture_->setDot(p, colour);
        }
        if (!mirror_ || mirrored(dot) == dot)
            break;
    }
}

void CanvasEditor::paintPen(QPoint dot, QRgb colour)
{
    if (!picture_->contains(dot))
        return;
    const QRgb before = picture_->dot(dot);
    paint(dot, colour);
    lastPainted_ = dot;
    if (!smoothCorners_)
        return;
    // The corner rule: the dot before the last goes back to what it was when it makes an L
    // between its neighbours on the pen's way.
    if (!trail_.empty() && trail_.back().dot == dot)
        return;
    trail_.push_back({dot, before});
    if (trail_.size() >= 3) {
        const Trail &a = trail_[trail_.size() - 3], &b = trail_[trail_.size() - 2];
        if (shapes::isDoubledCorner(a.dot, b.dot, dot)) {
            paint(b.dot, b.before);
            trail_.erase(trail_.end() - 2);
        }
    }
    if (trail_.size() > 3)
        trail_.erase(trail_.begin());
}

void CanvasEditor::penLine(QPoint from, QPoint to, QRgb colour)
{
    for (const QPoint &p : shapes::line(from, to))
        paintPen(p, colour);
}

void CanvasEditor::finishStep(const QString &name)
{
    history_->changedDots(name, recorder_.changes());
    recorder_.clear();
    trail_.clear();
}

void CanvasEditor::press(int button, std::optional<QPoint> dot, bool shift)
{
    // A press during a drag (a second button, or the keyboard's stroke) goes on with it.
    if (drag_ == Drag::Pen || keyStroke_ != 0) {
        if (dot && picture_->contains(*dot))
            paintPen(*dot, colourOf(button));
        at_ = dot && picture_->contains(*dot) ? dot : std::nullopt;
        button_ = button;
        return;
    }
    if (drag_ != Drag::None)
        return;
    if (!dot)
        return;
    const bool inside = picture_->contains(*dot);
    switch (tool_) {
    case Tool::Pen: {
        drag_ = Drag::Pen;
        trail_.clear();
        // Shift with a click: the straight line from the last dot painted.
        if (inside && shift && lastPainted_)
            penLine(*lastPainted_, *dot, colourOf(button));
        else if (inside)
            paintPen(*dot, colourOf(button));
        at_ = inside ? dot : std::nullopt;
        button_ = button;
        return;
    }
    case Tool::Fill:
        if (inside) {
            fill(*dot, colourOf(button));
            finishStep(stepName());
        }
        return;
    case Tool::Selection:
        if (selection_ && selection_->contains(*dot)) {
            drag_ = Drag::Moving;
            grab_ = *dot - selection_->topLeft();
            if (!floating_) {
                // Lifted: the place it leaves is white.
                lifted_ = true;
                liftedFrom_ = picture_->image();
                liftedRect_ = *selection_;
                floating_ = Floating{shapes::part(liftedFrom_, *selection_), selection_->topLeft(),
                                     shapes::emptied(liftedFrom_, *selection_)};
            }
            dragStart_ = floating_->at;
            return;
        }
        dropSelection();
        if (!inside)
            return;
        drag_ = Drag::Marking;
        selectAnchor_ = *dot;
        setSelection(QRect(*dot, QSize(1, 1)));
        return;
    default:
        drag_ = Drag::Shape;
        dragColour_ = colourOf(button);
        anchor_ = *dot;
        base_ = picture_->image();
        showShape(*dot, shift);
        emit marksChanged();
        return;
    }
}

void CanvasEditor::move(int buttons, std::optional<QPoint> dot, bool shift)
{
    switch (drag_) {
    case Drag::None:
        return;
    case Drag::Pen:
        if (dot && picture_->contains(*dot) && at_) {
            // Every dot between the last position and this one, however far apart the window
            // system delivered them. The first was just painted with the same buttons unless
            // they changed: painting it again would change nothing and double the work.
            const QPoint from = *at_;
            const bool skipFrom = *dot != from && buttons == button_;
            for (const QPoint &p : shapes::line(from, *dot))
                if (!(skipFrom && p == from))
                    paintPen(p, colourOf(buttons));
        } else if (dot && picture_->contains(*dot)) {
            paintPen(*dot, colourOf(buttons));
        }
        at_ = dot && picture_->contains(*dot) ? dot : std::nullopt;
        button_ = buttons;
        return;
    case Drag::Shape:
        if (dot)
            showShape(*dot, shift);
        return;
    case Drag::Marking:
        if (dot && selectAnchor_)
            setSelection(shapes::box(*selectAnchor_, clamped(*dot)));
        return;
    case Drag::Moving:
        if (dot && floating_ && *dot - grab_ != floating_->at) {
            floating_->at = *dot - grab_;
            showPart();
        }
        return;
    }
}

void CanvasEditor::release()
{
    const Drag drag = std::exchange(drag_, Drag::None);
    switch (drag) {
    case Drag::None:
    case Drag::Marking:
        return;
    case Drag::Pen:
        at_.reset();
        finishStep(stepName());
        return;
    case Drag::Shape:
        anchor_.reset();
        finishStep(stepName());
        emit marksChanged();
        return;
    case Drag::Moving:
        // A part lifted and moved is put down at once, one step; a pasted part stays over the
        // picture until it is dropped.
        if (std::exchange(lifted_, false)) {
            floating_.reset();
            finishFrom(liftedFrom_, QCoreApplication::translate("CanvasEditor", "移動"));
        }
        return;
    }
}

bool CanvasEditor::cancel()
{
    switch (drag_) {
    case Drag::None:
        break;
    case Drag::Pen:
        // A stroke cannot be given up half way: it ends as it is.
        release();
        return true;
    case Drag::Shape:
        drag_ = Drag::None;
        picture_->become(base_);
        recorder_.clear();
        anchor_.reset();
        emit marksChanged();
        return true;
    case Drag::Moving:
        drag_ = Drag::None;
        if (std::exchange(lifted_, false)) {
            floating_.reset();
            picture_->become(liftedFrom_);
            setSelection(liftedRect_);
        } else if (floating_) {
            floating_->at = dragStart_;
            showPart();
        }
        return true;
    case Drag::Marking:
        drag_ = Drag::None;
        setSelection(std::nullopt);
        return true;
    }
    if (anchor_) {
        picture_->become(base_);
        recorder_.clear();
        anchor_.reset();
        emit marksChanged();
        return true;
    }
    if (selection_) {
        dropSelection();
        setSelection(std::nullopt);
        return true;
    }
    return false;
}

void CanvasEditor::focusLost()
{
    if (keyStroke_ != 0) {
        keyStroke_ = 0;
        finishStep(stepName());
    }
}

void CanvasEditor::showShape(QPoint to, bool shift)
{
    if (!anchor_)
        return;
    std::vector<QPoint> dots;
    switch (tool_) {
    case Tool::Line:
        dots = shapes::line(*anchor_, shift ? shapes::snapped(*anchor_, to) : to);
        break;
    case Tool::Rectangle:
    case Tool::FilledRectangle:
        dots = shapes::rectangle(*anchor_, shift ? shapes::squared(*anchor_, to) : to, tool_ == Tool::FilledRectangle);
        break;
    case Tool::Ellipse:
    case Tool::FilledEllipse:
        dots = shapes::ellipse(*anchor_, shift ? shapes::squared(*anchor_, to) : to, tool_ == Tool::FilledEllipse);
        break;
    default:
        return;
    }
    QImage shown = base_;
    for (const QPoint &p : dots)
        for (const QPoint q : {p, mirrored(p)}) {
            if (QRect(QPoint(0, 0), shown.size()).contains(q))
                dots::put(shown, q.x(), q.y(), dragColour_);
            if (!mirror_)
                break;
        }
    // The step records each dot against the picture as it was when the shape began.
    recorder_.clear();
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (dots::at(shown, x, y) != dots::at(base_, x, y))
                recorder_.painted(QPoint(x, y), dots::at(base_, x, y), dots::at(shown, x, y));
    picture_->become(shown);
}

void CanvasEditor::fill(QPoint at, QRgb colour)
{
    const QImage before = picture_->image();
    for (const QPoint p : {at, mirrored(at)}) {
        for (const QPoint &d : shapes::region(before, p))
            if (picture_->dot(d) == dots::at(before, d.x(), d.y())) {
                recorder_.painted(d, picture_->dot(d), colour);
                picture_->setDot(d, colour);
            }
        if (!mirror_ || mirrored(at) == at)
            break;
    }
}

void CanvasEditor::setCursor(QPoint dot)
{
    cursor_ = clamped(dot);
    emit marksChanged();
}

void CanvasEditor::pictureReplaced()
{
    lastPainted_.reset();
    trail_.clear();
    if (drag_ == Drag::None && !floating_) {
        setSelection(std::nullopt);
        anchor_.reset();
    }
    cursor_ = clamped(cursor_);
    emit marksChanged();
}
