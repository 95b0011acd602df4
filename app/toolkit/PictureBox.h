#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QPainter;

// Colours are plain 24-bit RGB values; the dot picture's "black" is exactly 0.
using Color = std::int32_t;
constexpr Color kBlack = 0x000000;
constexpr Color kWhite = 0xFFFFFF;
// What reading a pixel outside the drawing area gives: never mistaken for black.
constexpr Color kNoColor = -1;

// The opaque pixel of a colour, as the surfaces store it.
constexpr QRgb toRgb(Color c) { return 0xFF000000u | (static_cast<quint32>(c) & 0xFFFFFFu); }

// A picture surface: an off-screen image that is also exactly what the widget shows,
// one image pixel to one widget pixel, so drawing survives being covered and reading a
// pixel reads what the user sees. Every drawing call clips to the drawing area and
// repaints only the rectangle it touched.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    Color backColor() const { return backColor_; }
    Color foreColor() const { return foreColor_; }
    void setBackColor(Color c) { backColor_ = c; }
    void setForeColor(Color c) { foreColor_ = c; }

    // The drawing area; the widget takes the same size.
    int scaleWidth() const { return width_; }
    int scaleHeight() const { return height_; }
    // Pixels of the overlap keep their colours; new area is background (or, for a
    // surface that keeps its hidden area, whatever it held before it was cut away).
    void setSurfaceSize(int width, int height);

    // A surface that keeps its hidden area remembers pixels that a smaller size cut
    // away and shows them again when it grows back.
    void setKeepsHiddenArea(bool keep) { keepsHiddenArea_ = keep; }

    // Assigning an empty image: every pixel, hidden ones included, becomes background.
    void clear();

    Color point(int x, int y) const;
    void pset(int x, int y) { pset(x, y, foreColor_); }
    void pset(int x, int y, Color color);
    // Both corners are part of the box, in whichever order they are given.
    void fillBox(int x1, int y1, int x2, int y2) { fillBox(x1, y1, x2, y2, foreColor_); }
    void fillBox(int x1, int y1, int x2, int y2, Color color);
    // The same for a rectangle, such as a cell from cellRect.
    void fillBox(const QRect &box) { fillBox(box, foreColor_); }
    void fillBox(const QRect &box, Color color) { fillClipped(box, color); }
    // A one-pixel line, both end points included.
    void line(int x1, int y1, int x2, int y2, Color color);

    // Shows `picture` unscaled at the top left, background elsewhere, replacing what
    // the surface held. The surface keeps it beyond its drawing area, so growing the
    // surface again brings it back. Transparent parts show the background colour, and
    // half-transparent ones lie over it.
    void setPicture(QImage picture);

    // Drawing done while a Batch lives is shown by one repaint when the last one ends,
    // not one repaint per call: a full redraw issues thousands of calls.
    class Batch
    {
    public:
        explicit Batch(PictureBox *box);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        PictureBox *box_;
    };

    // Direct access for block copies; callers refresh the rectangle they changed. The
    // store may be larger than the drawing area; only the area's pixels are shown.
    QImage &image() { return image_; }
    const QImage &image() const { return image_; }
    // Puts back a store taken earlier from image(), hidden pixels included. The drawing
    // area keeps its size; pixels that store never covered are background.
    void restoreStore(const QImage &store);
    void refresh() { update(); }
    void refresh(const QRect &rect) { updateDevicePixels(rect); }

    // The surface is a grid of `pitch` x `pitch` blocks whose first column and row are grid
    // lines (the canvas; 1 for any other surface). On a screen scaled by a fraction (1.25,
    // 1.5, 1.75) every block is shown a whole number of device pixels wide, its first column
    // and row one device pixel, so that every grid line is as wide as every other and no
    // block is more than one device pixel larger than another. Whole scales show every
    // pixel as a square of them, as they are.
    void setPitch(int pitch);

    // Marks shown over the surface, never part of it: the outline of a block of pixels, its
    // border drawn on the block's outer pixels (a cell's cursor), and a vertical line at a
    // pixel column (an axis). Nothing removes them.
    void setOutline(std::optional<QRect> block);
    void setAxis(std::optional<int> column);
    // A selection: a block's outline in dashes that move along it while it is there.
    void setSelection(std::optional<QRect> block);
    std::optional<QRect> outline() const { return outline_; }
    std::optional<int> axis() const { return axis_; }
    std::optional<QRect> selection() const { return selection_; }

    // Keys pressed and released while the surface has the focus: `handler` gets Qt's key,
    // the modifiers as Shift (1 Shift, 2 Ctrl, 4 Alt), whether it was pressed (or released)
    // and whether the key repeats by itself. It returns whether it took the key; a key it
    // leaves goes on to the window.
    using KeyHandler = std::function<bool(int key, int shift, bool down, bool repeated)>;
    void setKeyHandler(KeyHandler handler) { keys_ = std::move(handler); }

    // What an assistive technology reads as the surface's value (the canvas: the cursor's
    // dot and its colour), asked for only when read; and the call that tells it the value
    // may have changed, which costs nothing while no assistive technology listens.
    void setAccessibleValue(std::function<QString()> value) { accessibleValue_ = std::move(value); }
    QString accessibleValue() const { return accessibleValue_ ? accessibleValue_() : QString(); }
    void accessibleValueChanged();

signals:
    // Button: 1 left, 2 right, 4 middle; for moves the sum of the buttons held.
    // Shift: 1 Shift, 2 Ctrl, 4 Alt. X and Y in surface pixels.
    void mouseDown(int button, int shift, float x, float y);
    void mouseMove(int button, int shift, float x, float y);
    void mouseUp(int button, int shift, float x, float y);
    // A left press and release on the surface.
    void clicked();
    // The wheel turned over the surface: `angleDelta` in eighths of a degree (120 a notch),
    // at X and Y in surface pixels.
    void wheel(int angleDelta, float x, float y);
    // The focus came, and how: by the keyboard (Tab) or otherwise.
    void focusEntered(bool byKeyboard);
    void focusLeft();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QRect area() const { return QRect(0, 0, width_, height_); }
    // The box with corners (x1, y1) and (x2, y2), both included, cut to the drawing area.
    QRect clippedBox(int x1, int y1, int x2, int y2) const;
    void fillClipped(const QRect &rect, Color color);
    // Fills part of the store, visible or not, without repainting.
    void fillStore(const QRect &rect, Color color);
    // Repaints `rect` now, or when the current batch ends.
    void changed(const QRect &rect);
    // Asks for `rect` to be shown again, all of the device pixels it covers.
    void updateDevicePixels(const QRect &rect);
    // The mouse position, to the fraction of a pixel the window system gave it.
    QPointF exactPosition(const QMouseEvent *event);
    // Painting on a screen scaled by a fraction: device pixels through the block maps.
    void paintScaled(QPainter &p, const QRect &rect, qreal ratio);
    void updateMaps(qreal ratio);
    // The rectangle of logical pixels a mark touches.
    QRect markArea(const QRect &block) const;
    // The marks, with where each surface column and row begins on the device painted on.
    void drawMarks(QPainter &p, const std::function<int(int)> &toX, const std::function<int(int)> &toY, int high);

    QImage image_;
    int width_ = 0;
    int height_ = 0;
    Color backColor_ = kWhite;
    Color foreColor_ = kBlack;
    bool keepsHiddenArea_ = false;
    bool clickPending_ = false;
    int batchDepth_ = 0;
    QRect batchRect_;
    int pitch_ = 1;
    std::optional<QRect> outline_;
    std::optional<int> axis_;
    std::optional<QRect> selection_;
    class QTimer *dashes_ = nullptr;
    int phase_ = 0;
    KeyHandler keys_;
    std::function<QString()> accessibleValue_;
    // For each device column and row, the surface pixel it shows; and for each surface
    // column and row, its first device pixel. Made for one ratio, size and pitch.
    struct Maps
    {
        qreal ratio = 0;
        QSize size;
        int pitch = 0;
        std::vector<int> fromColumn, fromRow;
        std::vector<int> toColumn, toRow;
    } maps_;
    QImage device_;
};

// The device pixel block k begins at, of a line of `length` surface pixels in blocks of
// `pitch`, on a screen scaled by `ratio`: the blocks share the device pixels evenly.
int deviceEdge(int k, int length, int pitch, qreal ratio);
// The surface pixel that device pixel `d` of such a line shows: a block's first device pixel
// its first pixel (the grid line), the others spread over the rest.
int surfacePixel(int d, int length, int pitch, qreal ratio);
