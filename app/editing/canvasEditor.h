#pragma once

#include "pictureHistory.h"

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QRect>

#include <functional>
#include <optional>
#include <vector>

class DotPicture;

// What the mouse and the keys do on the canvas, in dots: the tools, the keyboard's cursor and
// the selection, every finished operation one step of the history. It knows nothing of
// widgets: the window hands it the canvas's events as dots and shows its marks.
//
// The pen (the start, and what the canvas always did) paints a dot a press and every dot the
// pointer passes; the left button black (or the colour chosen), any other white. The other
// tools: fill, line, rectangle, ellipse (each outlined or filled) and a selection to move,
// copy, clear and turn a part of the picture. Mirror drawing paints every dot at its
// left-right mirror too, with every tool.
class CanvasEditor : public QObject
{
    Q_OBJECT

public:
    enum class Tool { Pen, Fill, Line, Rectangle, FilledRectangle, Ellipse, FilledEllipse, Selection };

    CanvasEditor(DotPicture *picture, PictureHistory *history, QObject *parent = nullptr);

    Tool tool() const { return tool_; }
    // Another tool: a drag under way is given up first, a selection dropped where it is.
    void setTool(Tool tool);
    bool mirror() const { return mirror_; }
    void setMirror(bool on);
    // The pen leaves out the dot of an L-shaped corner, so that its lines are one dot thin.
    bool smoothCorners() const { return smoothCorners_; }
    void setSmoothCorners(bool on) { smoothCorners_ = on; }
    // The colour the left button paints.
    QRgb colour() const { return colour_; }
    void setColour(QRgb colour) { colour_ = colour; }

    // The mouse. `dot` is where the pointer is, in dots, inside the picture or not (nothing:
    // too far to name a dot). `button`: 1 left, 2 right, 4 middle; for moves the buttons held.
    // `shift`: Shift is held (the pen: a line from the last dot; shapes: 45 degrees, square).
    void press(int button, std::optional<QPoint> dot, bool shift);
    void move(int buttons, std::optional<QPoint> dot, bool shift);
    void release();
    // A press-to-release is under way: nothing else may change the picture meanwhile.
    bool busy() const { return drag_ != Drag::None || keyStroke_ != 0; }
    // Escape: a drag or a shape under way is given up, leaving nothing; else a selection is
    // dropped where it is. False when there was nothing to end.
    bool cancel();
    // The canvas lost the keyboard: a keyboard stroke cannot go on.
    void focusLost();

    // The keyboard's cursor, a dot of the picture.
    QPoint cursor() const { return cursor_; }
    void setCursor(QPoint dot);
    // Keys on the canvas (Qt's key; `shift`: Shift is held): arrows and Home, End, Page Up and
    // Page Down move the cursor; Space paints black (or the colour), Delete and Backspace
    // white, held down along the way the cursor goes; with a shape tool Space marks a corner
    // and draws; with the selection Shift and the arrows mark it, the arrows move it, Delete
    // clears it, Enter drops a pasted part. True when the key was taken.
    bool keyDown(int key, bool shift, bool repeated);
    bool keyUp(int key, bool repeated);
    // A key as the canvas gives it (`modifiers`: 1 Shift, 2 Ctrl, 4 Alt): Escape ends what is
    // under way; Ctrl and Alt with any key are the window's commands, not the canvas's.
    bool key(int key, int modifiers, bool down, bool repeated);

    // The selection: the dots it marks (nothing when there is none).
    std::optional<QRect> selection() const { return selection_; }
    // A pasted part lies over the picture, not yet part of it.
    bool floating() const { return floating_.has_value(); }
    // The dots of the selection, as a picture of their own.
    QImage selectedPart() const;
    // Clears the selection to white, as one step `name`.
    void clearSelection(const QString &name);
    // `change` of the selection alone when there is one (its size may change: a quarter turn),
    // else of the whole picture; one step `name`. `turnsSize`: the whole picture's size
    // fields swap with it. `texts` gives the size fields' texts.
    void transform(const QString &name, const std::function<QImage(const QImage &)> &change, bool turnsSize,
                   const SizeTexts &texts);
    // A part pasted as a selection to move, at the selection's corner or the picture's.
    void placePart(const QImage &part);
    // A pasted part becomes part of the picture, as one step; the selection goes.
    void dropSelection();

    // Where the pen painted last, in this stroke or an earlier one (a line goes on from it).
    std::optional<QPoint> lastPainted() const { return lastPainted_; }
    // The picture was replaced, or changed size: what referred to its dots goes.
    void pictureReplaced();

signals:
    // The cursor, the selection or the shape's first corner moved.
    void marksChanged();
    // A selection came or went: the commands that act on one follow.
    void selectionChanged();
    void toolChanged(CanvasEditor::Tool tool);

private:
    enum class Drag { None, Pen, Shape, Marking, Moving };

    // Paints one dot of the picture (and its mirror), recorded for the step under way.
    void paint(QPoint dot, QRgb colour);
    void paintPen(QPoint dot, QRgb colour);
    // The pen's line from `from` to `to`.
    void penLine(QPoint from, QPoint to, QRgb colour);
    QRgb colourOf(int button) const;
    QString stepName() const;
    // A shape from `anchor_` to `to`, shown over `base_`.
    void showShape(QPoint to, bool shift);
    void finishStep(const QString &name);
    void fill(QPoint at, QRgb colour);
    // The part over the picture beneath it, where it lies now.
    void showPart();
    // The selection moved by `by`: a pasted part over the picture, else one step.
    void moveSelection(QPoint by);
    // The picture as it is now, against `from`: one step `name` of the dots that differ.
    void finishFrom(const QImage &from, const QString &name);
    void setSelection(std::optional<QRect> selection);
    QPoint mirrored(QPoint dot) const;
    QPoint clamped(QPoint dot) const;

    DotPicture *picture_;
    PictureHistory *history_;
    Tool tool_ = Tool::Pen;
    bool mirror_ = false;
    bool smoothCorners_ = false;
    QRgb colour_ = 0xFF000000u;

    Drag drag_ = Drag::None;
    QRgb dragColour_ = 0;
    DotRecorder recorder_;
    // The pen: where it is (inside the picture) and the buttons that painted there; the last
    // dots it painted, with their colours before, for the corner rule.
    std::optional<QPoint> at_;
    int button_ = 0;
    std::optional<QPoint> lastPainted_;
    struct Trail
    {
        QPoint dot;
        QRgb before;
    };
    std::vector<Trail> trail_;
    // A shape, a fill or a move: the picture as it was when it began.
    QImage base_;
    std::optional<QPoint> anchor_;
    // The keyboard: the cursor, the key (Space or Delete) whose press-to-release is a stroke.
    QPoint cursor_;
    int keyStroke_ = 0;
    std::optional<QPoint> selectAnchor_;

    std::optional<QRect> selection_;
    // A part over the picture, pasted or lifted to be moved: the part, where it lies, and the
    // picture beneath it.
    struct Floating
    {
        QImage part;
        QPoint at;
        QImage under;
    };
    std::optional<Floating> floating_;
    // A drag of the selection: where it was taken, and, for a part lifted by this drag, the
    // picture and the selection before it.
    QPoint grab_;
    QPoint dragStart_;
    bool lifted_ = false;
    QImage liftedFrom_;
    QRect liftedRect_;
};
