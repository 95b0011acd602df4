#include "pictureHistory.h"

#include "toolkit/PictureBox.h"

#include <QUndoCommand>

#include <cstring>

namespace {

// A state as a step keeps it: the store's pixels compressed, and the fields' texts.
struct PackedState
{
    QSize size;
    QImage::Format format = QImage::Format_RGB32;
    QByteArray pixels;
    QString width;
    QString height;

    explicit PackedState(const PictureState &state)
        : size(state.store.size()), format(state.store.format()), width(state.width), height(state.height)
    {
        QByteArray raw;
        raw.reserve(qsizetype(state.store.width()) * state.store.height() * 4);
        for (int y = 0; y < state.store.height(); ++y)
            raw.append(reinterpret_cast<const char *>(state.store.constScanLine(y)), state.store.width() * 4);
        pixels = qCompress(raw, 1);
    }
    PictureState unpacked() const
    {
        QImage store(size, format);
        const QByteArray raw = qUncompress(pixels);
        for (int y = 0; y < size.height() && raw.size() >= qsizetype(size.width()) * 4 * (y + 1); ++y)
            std::memcpy(store.scanLine(y), raw.constData() + qsizetype(y) * size.width() * 4, size_t(size.width()) * 4);
        return PictureState{store, width, height};
    }
    qint64 bytes() const { return pixels.size() + (width.size() + height.size()) * 2 + qint64(sizeof *this); }
};

class PictureStep : public QUndoCommand
{
public:
    // The history owns the stack that owns this step, so it outlives it.
    PictureStep(PictureHistory *history, const QString &name, const PictureState &before,
                const PictureState &after, bool withSize)
        : QUndoCommand(name), history_(history), before_(before), after_(after), withSize_(withSize)
    {
    }
    void undo() override { history_->put(before_.unpacked(), withSize_); }
    void redo() override
    {
        // Pushing a step redoes it; the picture already is what it did.
        if (done_)
            history_->put(after_.unpacked(), withSize_);
        done_ = true;
    }
    qint64 bytes() const { return before_.bytes() + after_.bytes(); }

private:
    PictureHistory *history_;
    PackedState before_;
    PackedState after_;
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
        stack_.push(new PictureStep(this, name_, before, after, withSize_));
}

qint64 PictureHistory::bytesKept() const
{
    qint64 bytes = 0;
    for (int i = 0; i < stack_.count(); ++i)
        bytes += static_cast<const PictureStep *>(stack_.command(i))->bytes();
    return bytes;
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
