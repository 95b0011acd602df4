#include "pictureHistory.h"

#include "dotImage.h"
#include "dotPicture.h"

#include <QLineEdit>
#include <QUndoCommand>

#include <cstring>

namespace {

// A picture kept compressed: a byte a dot where every colour is one of the squares (always,
// for what the program paints), four bytes a dot otherwise.
class Packed
{
public:
    Packed() = default;
    explicit Packed(const QImage &store) : size_(store.size())
    {
        QByteArray raw;
        bool squares = true;
        raw.reserve(qsizetype(size_.width()) * size_.height());
        for (int y = 0; y < size_.height() && squares; ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(store.constScanLine(y));
            for (int x = 0; x < size_.width() && squares; ++x) {
                const int square = dots::squareOf(line[x]);
                squares = square >= 0;
                raw.append(char(square));
            }
        }
        if (!squares) {
            raw.clear();
            for (int y = 0; y < size_.height(); ++y)
                raw.append(reinterpret_cast<const char *>(store.constScanLine(y)), size_.width() * 4);
        }
        bytesPerDot_ = squares ? 1 : 4;
        pixels_ = qCompress(raw, 1);
    }
    QImage unpacked() const
    {
        QImage store(size_, QImage::Format_RGB32);
        const QByteArray raw = qUncompress(pixels_);
        const qsizetype row = qsizetype(size_.width()) * bytesPerDot_;
        for (int y = 0; y < size_.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(store.scanLine(y));
            if (raw.size() < row * (y + 1)) {
                std::fill_n(line, size_.width(), dots::kWhitePixel);
                continue;
            }
            if (bytesPerDot_ == 4) {
                std::memcpy(line, raw.constData() + row * y, size_t(row));
                continue;
            }
            for (int x = 0; x < size_.width(); ++x)
                line[x] = dots::kSquares[size_t(uchar(raw[row * y + x])) % dots::kSquares.size()].pixel;
        }
        return store;
    }
    qint64 bytes() const { return pixels_.size() + qint64(sizeof *this); }

private:
    QSize size_;
    int bytesPerDot_ = 1;
    QByteArray pixels_;
};

// The whole picture replaced: both pictures kept, and the size fields' texts when the step
// sets them.
class ReplaceStep : public QUndoCommand
{
public:
    ReplaceStep(PictureHistory *history, const QString &name, const PictureHistory::Before &before,
                const QImage &afterStore, QSize afterSize, std::optional<SizeTexts> afterTexts)
        : QUndoCommand(name), history_(history), before_(before.store), beforeSize_(before.size),
          after_(afterStore), afterSize_(afterSize)
    {
        if (afterTexts) {
            beforeTexts_ = before.texts;
            afterTexts_ = afterTexts;
        }
    }
    void undo() override { history_->put(before_.unpacked(), beforeSize_, beforeTexts_); }
    void redo() override { history_->put(after_.unpacked(), afterSize_, afterTexts_); }
    qint64 bytes() const { return before_.bytes() + after_.bytes(); }

private:
    PictureHistory *history_;
    Packed before_;
    QSize beforeSize_;
    Packed after_;
    QSize afterSize_;
    std::optional<SizeTexts> beforeTexts_, afterTexts_;
};

// Dots changed, each with its colour before and after.
class DotsStep : public QUndoCommand
{
public:
    DotsStep(DotPicture *picture, const QString &name, std::vector<DotChange> changes)
        : QUndoCommand(name), picture_(picture), changes_(std::move(changes))
    {
    }
    void undo() override
    {
        for (auto c = changes_.rbegin(); c != changes_.rend(); ++c)
            picture_->setDot(QPoint(c->x, c->y), c->before);
    }
    // The first redo, as the step is pushed, finds the dots so already: it changes nothing.
    void redo() override
    {
        for (const DotChange &c : changes_)
            picture_->setDot(QPoint(c.x, c.y), c.after);
    }
    qint64 bytes() const { return qint64(changes_.size() * sizeof(DotChange) + sizeof *this); }

private:
    DotPicture *picture_;
    std::vector<DotChange> changes_;
};

} // namespace

PictureHistory::PictureHistory(DotPicture *picture, QLineEdit *width, QLineEdit *height, QObject *parent)
    : QObject(parent), picture_(picture), width_(width), height_(height)
{
    stack_.setUndoLimit(kSteps);
    connect(&stack_, &QUndoStack::indexChanged, this, &PictureHistory::stepsChanged);
}

PictureHistory::Before PictureHistory::now() const
{
    return Before{picture_->store(), picture_->size(), SizeTexts{width_->text(), height_->text()}};
}

void PictureHistory::replace(const QString &name, const QImage &after, std::optional<SizeTexts> texts)
{
    const Before before = now();
    const QImage store = after.convertToFormat(QImage::Format_RGB32);
    // Nothing changed, dots a smaller size hid included: no step.
    if (store == before.store && (!texts || *texts == before.texts))
        return;
    stack_.push(new ReplaceStep(this, name, before, store, store.size(), texts));
}

void PictureHistory::changedDots(const QString &name, std::vector<DotChange> changes)
{
    if (!changes.empty())
        stack_.push(new DotsStep(picture_, name, std::move(changes)));
}

void PictureHistory::keep(const QString &name, const Before &before)
{
    const Before after = now();
    if (after.store == before.store && after.size == before.size && after.texts == before.texts)
        return;
    stack_.push(new ReplaceStep(this, name, before, after.store, after.size,
                                after.texts != before.texts ? std::optional<SizeTexts>(after.texts) : std::nullopt));
}

void PictureHistory::putBack(const Before &before) { put(before.store, before.size, before.texts); }

void PictureHistory::put(const QImage &store, QSize size, const std::optional<SizeTexts> &texts)
{
    // A step that set the size puts the size back with it, the fields first; any other puts
    // back the dots, those a smaller size hid included, at the size the picture has now.
    if (texts) {
        width_->setText(texts->width);
        height_->setText(texts->height);
    }
    picture_->restore(store, texts ? size : picture_->size());
}

qint64 PictureHistory::bytesKept() const
{
    qint64 bytes = 0;
    for (int i = 0; i < stack_.count(); ++i) {
        const QUndoCommand *step = stack_.command(i);
        if (const auto *r = dynamic_cast<const ReplaceStep *>(step))
            bytes += r->bytes();
        else if (const auto *d = dynamic_cast<const DotsStep *>(step))
            bytes += d->bytes();
    }
    return bytes;
}

void DotRecorder::painted(QPoint dot, QRgb before, QRgb after)
{
    if (dot.x() < 0 || dot.y() < 0 || dot.x() >= 128 || dot.y() >= 128)
        return;
    if (index_.empty())
        index_.assign(128 * 128, -1);
    int &at = index_[size_t(dot.y() * 128 + dot.x())];
    if (at < 0) {
        at = int(order_.size());
        order_.push_back(DotChange{quint16(dot.x()), quint16(dot.y()), before | 0xFF000000u, after | 0xFF000000u});
    } else {
        order_[size_t(at)].after = after | 0xFF000000u;
    }
}

std::vector<DotChange> DotRecorder::changes() const
{
    std::vector<DotChange> changed;
    for (const DotChange &c : order_)
        if (c.before != c.after)
            changed.push_back(c);
    return changed;
}

void DotRecorder::clear()
{
    order_.clear();
    index_.clear();
}
