#pragma once

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QUndoStack>

#include <functional>
#include <optional>
#include <vector>

class DotPicture;
class QLineEdit;

// The texts of the two size fields, which a step that sets the picture's size puts back
// with it: the size lives in the fields (as typed, "07" or "7"), the dots in the document.
struct SizeTexts
{
    QString width;
    QString height;
    bool operator==(const SizeTexts &o) const { return width == o.width && height == o.height; }
    bool operator!=(const SizeTexts &o) const { return !(*this == o); }
};

// One dot a step changed: where, what it was and what it became.
struct DotChange
{
    quint16 x = 0, y = 0;
    QRgb before = 0, after = 0;
};

// The undo history of the picture, on Qt's undo stack. Every change the user can take back is
// a step whose redo() makes it: one stroke, fill, shape, move, clear, transform, conversion,
// paste or opened file, named for the menu. Magnification, the toggles and typed sizes are no
// steps, since none of them loses dots.
class PictureHistory : public QObject
{
    Q_OBJECT

public:
    // Steps kept at most. A step that changes dots keeps those dots; one that replaces the
    // picture keeps the pictures before and after it, compressed (a picture of at most
    // 99 x 99 dots, 39,204 bytes as it is held, keeps some hundred), so that ten thousand
    // steps of an ordinary picture hold a few megabytes.
    static constexpr int kSteps = 10000;

    // `width` and `height`: the size fields, whose texts a step that sets the size puts back.
    PictureHistory(DotPicture *picture, QLineEdit *width, QLineEdit *height, QObject *parent = nullptr);

    // The whole picture becomes `after` (its size too), as one step `name`; with `texts`,
    // the size fields take them in the same step.
    void replace(const QString &name, const QImage &after, std::optional<SizeTexts> texts = std::nullopt);
    // Dots already changed (a stroke, a fill, a shape): one step, unless nothing changed.
    void changedDots(const QString &name, std::vector<DotChange> changes);
    // A change shown while it was made (the conversion's preview) and now kept: the picture
    // as it was when it began, and as it is now, one step.
    struct Before
    {
        QImage store;
        QSize size;
        SizeTexts texts;
    };
    Before now() const;
    void keep(const QString &name, const Before &before);
    // Given up: the picture as it was.
    void putBack(const Before &before);

    void undo() { stack_.undo(); }
    void redo() { stack_.redo(); }
    QString undoName() const { return stack_.undoText(); }
    QString redoName() const { return stack_.redoText(); }
    int steps() const { return stack_.count(); }
    // What the steps keep, in bytes.
    qint64 bytesKept() const;
    QUndoStack *stack() { return &stack_; }

    // Puts a state back; the steps call it.
    void put(const QImage &store, QSize size, const std::optional<SizeTexts> &texts);

signals:
    // A step was made, undone or redone.
    void stepsChanged();

private:
    DotPicture *picture_;
    QLineEdit *width_;
    QLineEdit *height_;
    QUndoStack stack_;
};

// Collects the dots a change paints, each once, with the colour it had before the first
// paint and the one after the last.
class DotRecorder
{
public:
    void painted(QPoint dot, QRgb before, QRgb after);
    // The dots whose colour changed, in the order first painted.
    std::vector<DotChange> changes() const;
    bool empty() const { return order_.empty(); }
    void clear();

private:
    std::vector<DotChange> order_;
    std::vector<int> index_; // by y * 128 + x: where in order_, or -1
};
