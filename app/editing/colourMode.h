#pragma once

#include <QObject>
#include <QPointer>

class CanvasEditor;
class DotPicture;
class PictureHistory;
class QWidget;
class frmPalette;

// Colour (Ctrl+K): the picture painted in the nine emoji squares, their palette beside the
// main window, the left button painting the square chosen. Off, after a question, every
// colour but white becomes black, as one step.
class ColourMode : public QObject
{
    Q_OBJECT

public:
    ColourMode(QWidget *window, DotPicture *picture, PictureHistory *history, CanvasEditor *editor);
    ~ColourMode() override;

    bool on() const { return on_; }
    // On or off; false when the user kept it as it was. switched() tells which it is.
    bool set(bool on);
    // The square the left button paints (0 to 8), shown in the palette.
    void choose(int square);
    frmPalette *palette() const;

signals:
    void switched(bool on);
    void chosen(int square);

private:
    QWidget *window_;
    DotPicture *picture_;
    PictureHistory *history_;
    CanvasEditor *editor_;
    QPointer<frmPalette> palette_;
    bool on_ = false;
    int square_ = 0;
};
