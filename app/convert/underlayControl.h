#pragma once

#include "conversion.h"
#include "underlay.h"

#include <QImage>
#include <QEvent>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QSize>

#include <functional>
#include <memory>
#include <optional>

class DotPicture;
class QAction;
class PictureBox;
class PictureSource;
class UnderlayLoading;
class frmConvert;
struct PictureRequest;

// The underlay as the window keeps and shows it: a picture read for it without making the
// window wait (large ones on a worker), taken or refused with the reason told; where it lies
// (as loaded, fitted, filled, framed) and how strong the canvas shows it; what the hidden
// holder holds for the canvas; and "dots from the underlay" (Ctrl+T), its window open beside
// the main one while the canvas previews the dots.
class UnderlayControl : public QObject
{
    Q_OBJECT

public:
    struct Window
    {
        Window(QWidget *widget, PictureBox *canvas, PictureBox *holder, DotPicture *picture)
            : widget(widget), canvas(canvas), holder(holder), picture(picture)
        {
        }
        QWidget *widget = nullptr; // the main window: messages, the reading's panel
        PictureBox *canvas = nullptr;
        PictureBox *holder = nullptr;
        DotPicture *picture = nullptr;
        // The canvas rebuilt at the picture's size, the underlay as it lies now; with `dots`,
        // the picture shown as them first (the conversion's preview).
        std::function<void()> redraw;
        std::function<void(const QImage &dots)> preview;
        // A picture opened, pasted or dropped is shown at once: the toggle on, a redraw.
        std::function<void()> switchOn;
        // The commands that show where it lies (as loaded, fitted, filled) and how strong.
        QAction *placements[3] = {};
        QAction *strength = nullptr;
        // The conversion: the rest of the window still while it is open; its dots kept as one
        // step (true) or the picture put back (false) when it closes.
        std::function<void(bool on)> converting;
        std::function<void(bool keep)> ended;
        // The magnification, the size the conversion makes dots at, and whether in colour.
        std::function<int()> dotSize;
    };
    UnderlayControl(Window window, QRect panelArea);
    ~UnderlayControl() override;

    bool loaded() const { return underlay_.loaded(); }
    bool busy() const;
    UnderlayLoading *loading() const { return loading_; }
    frmConvert *convertWindow() const;
    Placement placement() const { return underlay_.placement(); }

    // Reads `request` for the underlay and takes it; `then` runs on the window's thread with
    // whether it was taken, also when the user stopped the reading.
    void load(const PictureRequest &request, const QString &name, std::function<void(bool taken)> then);
    // The same, shown at once once taken.
    void loadAndShow(const PictureRequest &request, const QString &name);
    void openPicture(const QString &path);

    void setPlacement(Placement placement);
    // U: full strength, half, a quarter, and full again.
    void cycleStrength();
    // The holder in line with where the underlay lies on a canvas of `canvas` pixels.
    void place(QSize canvas);

    // Ctrl+T: opens the conversion window (or brings it to the front).
    void showConvert();
    // The canvas's mouse (a press, a move, a release: `type`; or a wheel turned) and keys while
    // the conversion window is open, which frame the picture: true when taken.
    bool canvasMouse(QEvent::Type type, int buttons, QPointF at, int wheel = 0);
    bool canvasKey(int key);

signals:
    // A reading on a worker began or ended, or a picture was taken.
    void changed();

private:
    void showPlacement(Placement placement);
    bool take(const std::shared_ptr<PictureSource> &picture, const QString &name);

    Window window_;
    Underlay underlay_;
    std::optional<Underlay::HolderKey> holderKey_;
    UnderlayLoading *loading_ = nullptr;
    QPointer<frmConvert> convert_;
    // What the conversion began from, for a cancel; whether the user chose where the
    // underlay lies; whether Ctrl+T waits for a picture being read.
    Framing framingBefore_;
    bool placementChosen_ = false;
    bool convertWhenRead_ = false;
};
