#include "PictureBox.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

int buttonValue(Qt::MouseButtons buttons)
{
    // Left, right and middle carry the same bit values as the classic mouse API.
    return static_cast<int>(buttons & (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton));
}

int shiftValue(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0)
           | (m & Qt::AltModifier ? 4 : 0);
}

// A `size` image of `background` with `source` copied in at its top left.
QImage withCopyOf(const QImage &source, QSize size, Color background)
{
    QImage store(size, QImage::Format_RGB32);
    store.fill(toRgb(background));
    const int w = std::min(size.width(), source.width());
    for (int y = 0; y < std::min(size.height(), source.height()); ++y)
        std::copy_n(reinterpret_cast<const QRgb *>(source.constScanLine(y)), w,
                    reinterpret_cast<QRgb *>(store.scanLine(y)));
    return store;
}


// What assistive technology reads of a surface: a canvas (a picture, for one that does not
// take the focus), with its value.
class AccessibleSurface : public QAccessibleWidget
{
public:
    explicit AccessibleSurface(QWidget *w)
        : QAccessibleWidget(w, w->focusPolicy() == Qt::NoFocus ? QAccessible::Graphic : QAccessible::Canvas)
    {
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return static_cast<const PictureBox *>(widget())->accessibleValue();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *surfaceAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("PictureBox") && object && object->isWidgetType())
        return new AccessibleSurface(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    static const bool factory = (QAccessible::installFactory(surfaceAccessible), true);
    (void)factory;
    // The surface paints every pixel it owns; nothing of the parent shows through.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    resize(0, 0);
}

void PictureBox::setSurfaceSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_)
        return;

    // The store only ever grows: a surface that goes back and forth between a large and
    // a small size reuses its memory instead of allocating and touching it anew.
    const QSize store = image_.size().expandedTo(QSize(width, height));
    if (store != image_.size())
        image_ = withCopyOf(image_, store, backColor_);
    if (!keepsHiddenArea_) {
        // What comes into view is background, whatever the store held there before.
        fillStore(QRect(width_, 0, std::max(width - width_, 0), height), backColor_);
        fillStore(QRect(0, height_, width, std::max(height - height_, 0)), backColor_);
    }
    width_ = width;
    height_ = height;
    resize(width_, height_);
    update();
}

void PictureBox::fillStore(const QRect &rect, Color color)
{
    const QRect r = rect & image_.rect();
    if (r.isEmpty())
        return;
    const QRgb rgb = toRgb(color);
    // One look at whether the image must be copied for the whole box, not one per row: a
    // redraw fills thousands of small boxes.
    QRgb *const pixels = reinterpret_cast<QRgb *>(image_.bits());
    const qsizetype stride = image_.bytesPerLine() / qsizetype(sizeof(QRgb));
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::fill_n(pixels + y * stride + r.left(), r.width(), rgb);
}

void PictureBox::clear()
{
    // A surface that keeps its hidden area loses it too; any other refills it when it
    // comes back into view.
    fillStore(keepsHiddenArea_ ? image_.rect() : area(), backColor_);
    changed(area());
}

Color PictureBox::point(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return kNoColor;
    return static_cast<Color>(image_.pixel(x, y) & 0xFFFFFFu);
}

void PictureBox::pset(int x, int y, Color color)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    image_.setPixel(x, y, toRgb(color));
    changed(QRect(x, y, 1, 1));
}

QRect PictureBox::clippedBox(int x1, int y1, int x2, int y2) const
{
    // Clamp before building the rectangle: corners far outside must not overflow its width.
    const int left = std::clamp(std::min(x1, x2), 0, width_);
    const int right = std::clamp(std::max(x1, x2), -1, width_ - 1);
    const int top = std::clamp(std::min(y1, y2), 0, height_);
    const int bottom = std::clamp(std::max(y1, y2), -1, height_ - 1);
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

void PictureBox::fillBox(int x1, int y1, int x2, int y2, Color color)
{
    fillClipped(clippedBox(x1, y1, x2, y2), color);
}

void PictureBox::fillClipped(const QRect &rect, Color color)
{
    const QRect r = rect & area();
    if (r.isEmpty())
        return;
    fillStore(r, color);
    changed(r);
}

void PictureBox::changed(const QRect &rect)
{
    if (batchDepth_ > 0)
        batchRect_ |= rect;
    else
        updateDevicePixels(rect);
}

void PictureBox::updateDevicePixels(const QRect &rect)
{
    // On a screen scaled by a fraction a surface pixel may begin on the device pixel before
    // the one the toolkit rounds its logical rectangle to: a pixel more on every side keeps
    // the first device row and column of what changed from being clipped away.
    const qreal ratio = devicePixelRatioF();
    update(ratio == std::floor(ratio) ? rect : rect.adjusted(-1, -1, 1, 1) & area());
}

PictureBox::Batch::Batch(PictureBox *box) : box_(box) { ++box_->batchDepth_; }

PictureBox::Batch::~Batch()
{
    if (--box_->batchDepth_ == 0 && !box_->batchRect_.isEmpty()) {
        box_->updateDevicePixels(box_->batchRect_);
        box_->batchRect_ = QRect();
    }
}

void PictureBox::line(int x1, int y1, int x2, int y2, Color color)
{
    if (x1 == x2 || y1 == y2) {
        // Grid lines are all straight; they are boxes one pixel thick.
        fillBox(x1, y1, x2, y2, color);
        return;
    }
    const QRect bounds = clippedBox(x1, y1, x2, y2);
    if (bounds.isEmpty())
        return;
    QPainter p(&image_);
    p.setClipRect(area());
    p.setPen(QPen(QColor::fromRgb(toRgb(color)), 0));
    p.drawLine(x1, y1, x2, y2);
    p.end();
    changed(bounds);
}

void PictureBox::setPicture(QImage picture)
{
    if (picture.hasAlphaChannel()) {
        // Converting would turn transparent pixels into whatever colour they carry,
        // mostly black: they are laid over the background instead.
        QImage opaque(picture.size(), QImage::Format_RGB32);
        opaque.fill(toRgb(backColor_));
        QPainter p(&opaque);
        p.drawImage(0, 0, picture);
        p.end();
        picture = std::move(opaque);
    } else if (picture.format() != QImage::Format_RGB32) {
        picture.convertTo(QImage::Format_RGB32);
    }
    const QSize size = picture.size().expandedTo(QSize(width_, height_));
    image_ = size == picture.size() ? std::move(picture) : withCopyOf(picture, size, backColor_);
    update();
}

void PictureBox::restoreStore(const QImage &store)
{
    const QSize size = store.size().expandedTo(QSize(width_, height_));
    image_ = size == store.size() ? store : withCopyOf(store, size, backColor_);
    changed(area());
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QRect r = event->rect() & area();
    if (r.isEmpty())
        return;
    // The ratio of the device painted on: the screen's, or an image's when rendered into one.
    const qreal ratio = p.deviceTransform().m11();
    if (ratio > 0 && ratio != std::floor(ratio)) {
        paintScaled(p, r, ratio);
        return;
    }
    // One surface pixel per widget pixel; on a screen scaled by a whole number each becomes
    // a sharp square of device pixels.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(r, image_, r);
    const auto same = [this](int v, int most) { return std::clamp(v, 0, most); };
    drawMarks(p, [&](int x) { return same(x, width_); }, [&](int y) { return same(y, height_); }, height_);
}

void PictureBox::setPitch(int pitch)
{
    pitch = std::max(pitch, 1);
    if (pitch == pitch_)
        return;
    pitch_ = pitch;
    update();
}

void PictureBox::accessibleValueChanged()
{
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, accessibleValue());
        QAccessible::updateAccessibility(&event);
    }
}

void PictureBox::keyPressEvent(QKeyEvent *event)
{
    if (keys_ && keys_(event->key(), shiftValue(event->modifiers()), true, event->isAutoRepeat()))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

void PictureBox::keyReleaseEvent(QKeyEvent *event)
{
    if (keys_ && keys_(event->key(), shiftValue(event->modifiers()), false, event->isAutoRepeat()))
        event->accept();
    else
        QWidget::keyReleaseEvent(event);
}

void PictureBox::wheelEvent(QWheelEvent *event)
{
    const QPointF at = event->position();
    emit wheel(event->angleDelta().y(), float(at.x()), float(at.y()));
    event->accept();
}

void PictureBox::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    emit focusEntered(event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason);
}

void PictureBox::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    emit focusLeft();
}

QPointF PictureBox::exactPosition(const QMouseEvent *event)
{
    // Qt rounds a widget's mouse position to whole logical pixels; on a screen scaled by a
    // fraction that can name the pixel beside the one under the pointer. The position in the
    // window is not rounded. (An event made for this widget alone, as a test or another
    // program's tool sends, may carry no window position: then its own is all there is.)
    const QPointF exact = event->scenePosition() - QPointF(mapTo(window(), QPoint(0, 0)));
    const QPointF rounded = event->position();
    const QPointF at = qAbs(exact.x() - rounded.x()) <= 1 && qAbs(exact.y() - rounded.y()) <= 1 ? exact : rounded;
    // On a screen scaled by a fraction, the pixel the pointer is over is the one shown on
    // the device pixel under it: block edges there lie on whole device pixels.
    const qreal ratio = devicePixelRatioF();
    if (ratio == std::floor(ratio))
        return at;
    updateMaps(ratio);
    const auto through = [ratio](qreal v, const std::vector<int> &from) {
        const qint64 d = qint64(std::floor(v * ratio));
        if (v < 0 || d >= qint64(from.size()))
            return v;
        return from[size_t(d)] + 0.5;
    };
    return QPointF(through(at.x(), maps_.fromColumn), through(at.y(), maps_.fromRow));
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    // Only the three classic buttons are reported; a side button is not a paint stroke.
    if (buttonValue(event->button()) == 0)
        return;
    clickPending_ = event->button() == Qt::LeftButton;
    emit mouseDown(buttonValue(event->button()), shiftValue(event->modifiers()),
                   static_cast<float>(exactPosition(event).x()),
                   static_cast<float>(exactPosition(event).y()));
}

void PictureBox::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMove(buttonValue(event->buttons()), shiftValue(event->modifiers()),
                   static_cast<float>(exactPosition(event).x()),
                   static_cast<float>(exactPosition(event).y()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (buttonValue(event->button()) == 0)
        return;
    const bool click = clickPending_ && event->button() == Qt::LeftButton
                       && rect().contains(event->position().toPoint());
    clickPending_ = false;
    emit mouseUp(buttonValue(event->button()), shiftValue(event->modifiers()),
                 static_cast<float>(exactPosition(event).x()),
                 static_cast<float>(exactPosition(event).y()));
    if (click)
        emit clicked();
}
