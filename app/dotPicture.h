#pragma once

#include <QImage>
#include <QObject>
#include <QRect>
#include <QSize>

#include <vector>

// The picture the user makes: its size and its dots, one 32-bit colour a dot (dotImage.h),
// and the dots a smaller size hid, so that shrinking the picture loses nothing. It is the one
// copy of the user's work; the canvas, the true-size picture, the posting window, the
// recovery copy and the commands' states follow it through its signals. Every change the
// user can take back is made by a step of the undo history (editing/pictureHistory.h).
class DotPicture : public QObject
{
    Q_OBJECT

public:
    explicit DotPicture(QObject *parent = nullptr);

    QSize size() const { return size_; }
    int width() const { return size_.width(); }
    int height() const { return size_.height(); }
    bool contains(QPoint dot) const { return QRect(QPoint(0, 0), size_).contains(dot); }
    // The dots, size() of them, as the pure functions take a picture.
    QImage image() const;
    // Every dot held, those a smaller size hid included: at least size().
    const QImage &store() const { return store_; }
    // The colour of a dot; white outside the picture.
    QRgb dot(int x, int y) const;
    QRgb dot(QPoint p) const { return dot(p.x(), p.y()); }
    // Black: its colour exactly 0. Nothing outside the picture is black.
    bool isBlack(int x, int y) const;
    // Whether any dot is anything but white.
    bool hasDots() const;
    // Whether any dot is a colour other than black and white.
    bool hasColour() const;

    // A dot of the picture to `colour`; nothing outside it, nothing told when it already is.
    void setDot(QPoint dot, QRgb colour);
    // The dots become those of `dots`, a picture of the picture's size (a shape or a moved
    // part shown while it is dragged): one change told, of the dots that differ.
    void become(const QImage &dots);
    // A new size: the dots inside both keep their colours, dots a smaller size hid come back,
    // and the rest is white.
    void resize(QSize size);
    // Every dot white, hidden ones too.
    void clear();
    // The picture becomes `dots`, its size theirs; no hidden dots are left.
    void replace(const QImage &dots);
    // Puts back a store taken from store(), hidden dots included, at `size`.
    void restore(const QImage &store, QSize size);

signals:
    // Dots inside `dots` may have changed colour.
    void changed(QRect dots);
    // The size changed (changed() follows for the whole picture).
    void resized(QSize size);
    // A dot was painted the colour it already had: nothing changed, but the canvas shows its
    // cell again (white painting uncovers an underlay the canvas did not show yet).
    void touched(QPoint dot);

private:
    void grow(QSize size);

    QSize size_;
    QImage store_;
};

// The picture as its text is written at `size` (the size fields' size, which the text follows
// whether applied or not): its dots where it has them, every dot beyond it white.
QImage dotTextPicture(const DotPicture &picture, QSize size);
