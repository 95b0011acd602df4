#pragma once

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

class DotPicture;
class PictureBox;

// The picture as the window shows it: the magnified canvas (the underlay at the bottom, each
// dot that is not white filling its cell's interior, the grey grid on top) and the true-size
// picture, both following the document, and the marks over the canvas. A full redraw builds
// the canvas anew; any other change repaints only the cells whose dots changed.
class CanvasView : public QObject
{
    Q_OBJECT

public:
    CanvasView(DotPicture *picture, PictureBox *canvas, PictureBox *preview, PictureBox *holder, QObject *parent = nullptr);

    // The whole canvas anew at the picture's size: `dotSize` pixels a dot, the grid and the
    // underlay when they are on.
    void draw(int dotSize, bool grid, bool underlay);
    // Whether the canvas shows the picture at its size (else only a full redraw will do).
    bool fits() const;
    // The picture changed, `dots` of it: the cells whose dots changed since they were shown;
    // when the picture took another size, redrawNeeded() instead.
    void showDots(QRect dots);
    // While a redraw is under way, the picture's changes are its own.
    void hold(bool on) { held_ = on; }
    // A cell painted white again on an underlay shows it (the canvas may not have yet).
    void showCell(QPoint dot);
    // White cells show the underlay from now on, or white; the next redraw shows it whole.
    void setUnderlay(bool on) { underlay_ = on; }

    // The pointer's shape tells the tool (CanvasEditor::Tool): the pen the usual arrow, the
    // fill a hand, the shapes a cross, the selection arrows to move.
    void showTool(int tool);
    // The marks: the keyboard's cursor (shown once the keyboard came to the canvas by Tab or
    // was used on it, while the canvas has the focus), the mirror's axis, the selection.
    void showMarks(QPoint cursor, bool mirror, std::optional<QRect> selection);
    void keyboardUsed();
    // What a screen reader says of the canvas: where the cursor is and its dot's colour.
    QString cursorValue(QPoint cursor) const;

signals:
    // The cursor comes into sight or goes: the marks are to be shown again.
    void cursorShown();
    // The picture took another size (a step undone, a file opened): the whole canvas anew.
    void redrawNeeded();

private:
    void paintCell(QPoint dot);

    DotPicture *picture_;
    PictureBox *canvas_;
    PictureBox *preview_;
    PictureBox *holder_;
    int dotSize_ = 12;
    bool underlay_ = false;
    bool held_ = false;
    bool cursor_ = false;
    // The dots as the canvas shows them now.
    QImage shown_;
};
