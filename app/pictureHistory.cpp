#include "pictureHistory.h"

#include "toolkit/PictureBox.h"

#include <QUndoCommand>

namespace {

class PictureStep : public QUndoCommand
{
public:
    PictureStep(PictureBox *picture, QImage before, QImage after, const std::function<void()> &show)
        : picture_(picture), before_(std::move(before)), after_(std::move(after)), show_(show)
    {
    }
    void undo() override { put(before_); }
    void redo() override
    {
        // Pushing a step redoes it; the picture already is what it did.
        if (done_)
            put(after_);
        done_ = true;
    }

private:
    void put(const QImage &store)
    {
        picture_->restoreStore(store);
        show_();
    }

    PictureBox *picture_;
    QImage before_;
    QImage after_;
    const std::function<void()> &show_;
    bool done_ = false;
};

} // namespace

PictureHistory::PictureHistory(PictureBox *picture, std::function<void()> show)
    : picture_(picture), show_(std::move(show))
{
    stack_.setUndoLimit(kSteps);
}

void PictureHistory::begin()
{
    if (before_)
        end();
    // A shallow copy: painting then copies the picture's 39 KiB once, not per dot.
    before_ = picture_->image();
}

void PictureHistory::end()
{
    if (!before_)
        return;
    QImage before = std::move(*before_);
    before_.reset();
    const QImage &after = picture_->image();
    if (after != before)
        stack_.push(new PictureStep(picture_, std::move(before), after, show_));
}
