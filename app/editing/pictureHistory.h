#pragma once

#include <QImage>
#include <QString>
#include <QUndoStack>

#include <functional>
#include <optional>

class PictureBox;

// What one undo step puts back: the dot picture's whole store, dots hidden by a smaller
// size included, and, for steps that change the size, the texts of the two size fields.
struct PictureState
{
    QImage store;
    QString width;
    QString height;
};

// The undo history of the dot picture, on Qt's undo stack. One step is one stroke, clear,
// transform, conversion or pasted text, named for the menu. Magnification, the toggles and
// typed sizes are no steps, since none of them loses dots.
class PictureHistory
{
public:
    // At most this many steps are kept. A step keeps the pictures before and after it
    // compressed: a picture of at most 99 x 99 dots of 4 bytes, 39,204 bytes, keeps a few
    // hundred, so that ten thousand steps of an ordinary picture hold some megabytes.
    static constexpr int kSteps = 10000;

    // `fields` reads the size fields' texts; `put` brings a state back: the picture, the
    // fields when `withSize`, and the canvas in line with them.
    using Fields = std::function<std::pair<QString, QString>()>;
    using Put = std::function<void(const PictureState &state, bool withSize)>;
    PictureHistory(PictureBox *picture, Fields fields, Put put);

    // A change begins: the state as it is now is what undoing it gives back. A change
    // still open is ended first. `withSize`: the change may set the size fields too.
    void begin(const QString &name, bool withSize = false);
    // The change is over: it becomes a step, unless it left everything as it was.
    void end();
    // The change is given up: the state it began from is put back, and no step is made.
    void abandon();

    void undo();
    void redo();
    QString undoName() const { return stack_.undoText(); }
    QString redoName() const { return stack_.redoText(); }
    // Called whenever a step is made, undone or redone: what undo and redo would do changed.
    // Nothing: no more calls (the history, emptied as it goes, would call it on its way out).
    void setChanged(std::function<void()> changed);

    // Puts a state back; called by the steps.
    void put(const PictureState &state, bool withSize) { put_(state, withSize); }
    // The bytes the steps keep, and how many there are.
    qint64 bytesKept() const;
    int steps() const { return stack_.count(); }

private:
    PictureState now() const;

    PictureBox *picture_;
    Fields fields_;
    Put put_;
    std::optional<PictureState> before_;
    QString name_;
    bool withSize_ = false;
    QUndoStack stack_;
};
