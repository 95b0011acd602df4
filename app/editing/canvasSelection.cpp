// The selection: marked, moved, cleared, turned and pasted into.
#include "canvasEditor.h"

#include "dotImage.h"
#include "dotPicture.h"
#include "shapes.h"

#include <QCoreApplication>

void CanvasEditor::setSelection(std::optional<QRect> selection)
{
    if (selection)
        selection = *selection & QRect(QPoint(0, 0), picture_->size());
    if (selection && selection->isEmpty())
        selection.reset();
    if (selection == selection_)
        return;
    const bool came = selection.has_value() != selection_.has_value();
    selection_ = selection;
    if (!selection_)
        selectAnchor_.reset();
    emit marksChanged();
    if (came)
        emit selectionChanged();
}

QImage CanvasEditor::selectedPart() const
{
    if (floating_)
        return floating_->part;
    if (!selection_)
        return QImage();
    return shapes::part(picture_->image(), *selection_);
}

void CanvasEditor::finishFrom(const QImage &from, const QString &name)
{
    const QImage now = picture_->image();
    recorder_.clear();
    for (int y = 0; y < now.height() && y < from.height(); ++y)
        for (int x = 0; x < now.width() && x < from.width(); ++x)
            if (dots::at(now, x, y) != dots::at(from, x, y))
                recorder_.painted(QPoint(x, y), dots::at(from, x, y), dots::at(now, x, y));
    finishStep(name);
}

void CanvasEditor::showPart()
{
    if (!floating_)
        return;
    picture_->become(shapes::placed(floating_->under, floating_->part, floating_->at));
    const bool came = !selection_;
    selection_ = QRect(floating_->at, floating_->part.size());
    emit marksChanged();
    if (came)
        emit selectionChanged();
}

void CanvasEditor::clearSelection(const QString &name)
{
    if (!selection_ || busy())
        return;
    if (floating_) {
        // A pasted part not yet dropped: taken away again, the picture as it was.
        picture_->become(floating_->under);
        floating_.reset();
    } else {
        const QImage before = picture_->image();
        picture_->become(shapes::emptied(before, *selection_));
        finishFrom(before, name);
    }
    setSelection(std::nullopt);
}

void CanvasEditor::moveSelection(QPoint by)
{
    if (!selection_)
        return;
    if (floating_) {
        floating_->at += by;
        showPart();
        return;
    }
    const QImage before = picture_->image();
    const QImage part = shapes::part(before, *selection_);
    const QPoint to = selection_->topLeft() + by;
    picture_->become(shapes::placed(shapes::emptied(before, *selection_), part, to));
    finishFrom(before, QCoreApplication::translate("CanvasEditor", "移動"));
    selection_ = QRect(to, part.size());
    emit marksChanged();
}

void CanvasEditor::transform(const QString &name, const std::function<QImage(const QImage &)> &change, bool turnsSize,
                             const SizeTexts &texts)
{
    if (busy())
        return;
    if (!selection_) {
        history_->replace(name, change(picture_->image()),
                          turnsSize ? std::optional<SizeTexts>(SizeTexts{texts.height, texts.width}) : std::nullopt);
        return;
    }
    // The selection alone, turned about its top-left corner.
    if (floating_) {
        floating_->part = change(floating_->part);
        showPart();
        return;
    }
    const QImage before = picture_->image();
    const QImage part = change(shapes::part(before, *selection_));
    picture_->become(shapes::placed(shapes::emptied(before, *selection_), part, selection_->topLeft()));
    finishFrom(before, name);
    setSelection(QRect(selection_->topLeft(), part.size()));
}

void CanvasEditor::placePart(const QImage &part)
{
    if (busy())
        return;
    dropSelection();
    const QPoint at = selection_ ? selection_->topLeft() : QPoint(0, 0);
    floating_ = Floating{part, at, picture_->image()};
    showPart();
}

void CanvasEditor::dropSelection()
{
    if (!floating_ || drag_ == Drag::Moving)
        return;
    const QImage under = floating_->under;
    floating_.reset();
    finishFrom(under, QCoreApplication::translate("CanvasEditor", "貼り付け"));
}
