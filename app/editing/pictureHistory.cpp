#include "pictureHistory.h"

#include "toolkit/PictureBox.h"

#include <QUndoCommand>

namespace {

class PictureStep : public QUndoCommand
{
public:
    // The history owns the stack that owns this step, so it outlives it.
    PictureStep(PictureHistory *history, const QString &name, PictureState before,
                PictureState after, bool withSize)
        : QUndoCommand(name), history_(history), before_(std::move(before)),
          after_(std::move(after)), withSize_(withSize)
    {
    }
    void undo() override { history_->put(before_, withSize_); }
    void redo() override
    {
        // Pushing a step redoes it; the picture already is what it did.
        if (done_)
            history_->put(after_, withSize_);
        done_ = true;
    }

private:
    PictureHistory *history_;
    PictureState before_;
    PictureState after_;
    bool withSize_;
    bool done_ = false;
};

} // namespace

PictureHistory::PictureHistory(PictureBox *picture, Fields fields, Put put)
    : picture_(picture), fields_(std::move(fields)), put_(std::move(put))
{
    stack_.setUndoLimit(kSteps);
}

PictureState PictureHistory::now() const
{
    // A shallow copy: painting then copies the picture's 39 KiB once, not per dot.
    const auto [width, height] = fields_();
    return PictureState{picture_->image(), width, height};
}

void PictureHistory::begin(const QString &name, bool withSize)
{
    if (before_)
        end();
    before_ = now();
    name_ = name;
    withSize_ = withSize;
}

void PictureHistory::end()
{
    if (!before_)
        return;
    PictureState before = std::move(*before_);
    before_.reset();
    PictureState after = now();
    const bool sizeChanged = withSize_ && (after.width != before.width || after.height != before.height);
    if (after.store != before.store || sizeChanged)
        stack_.push(new PictureStep(this, name_, std::move(before), std::move(after), withSize_));
}

void PictureHistory::abandon()
{
    if (!before_)
        return;
    const PictureState before = std::move(*before_);
    before_.reset();
    put_(before, withSize_);
}

void PictureHistory::setChanged(std::function<void()> changed)
{
    QObject::disconnect(&stack_, nullptr, nullptr, nullptr);
    if (!changed)
        return;
    const auto call = [changed] { changed(); };
    QObject::connect(&stack_, &QUndoStack::indexChanged, &stack_, call);
    QObject::connect(&stack_, &QUndoStack::canUndoChanged, &stack_, call);
    QObject::connect(&stack_, &QUndoStack::canRedoChanged, &stack_, call);
    changed();
}

void PictureHistory::undo()
{
    end();
    stack_.undo();
}

void PictureHistory::redo()
{
    end();
    stack_.redo();
}
