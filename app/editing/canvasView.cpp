#include "canvasView.h"

#include "canvasEditor.h"
#include "cellGeometry.h"
#include "dotImage.h"
#include "dotPicture.h"
#include "toolkit/BitBlt.h"
#include "toolkit/PictureBox.h"

#include <QCoreApplication>

namespace {
constexpr Color kGridColor = 0xC0C0C0;
Color colourOf(QRgb pixel) { return Color(pixel & 0xFFFFFFu); }
} // namespace

CanvasView::CanvasView(DotPicture *picture, PictureBox *canvas, PictureBox *preview, PictureBox *holder, QObject *parent)
    : QObject(parent), picture_(picture), canvas_(canvas), preview_(preview), holder_(holder)
{
    connect(picture, &DotPicture::changed, this, &CanvasView::showDots);
    connect(picture, &DotPicture::touched, this, &CanvasView::showCell);
    connect(canvas, &PictureBox::focusEntered, this, [this](bool byKeyboard) {
        if (byKeyboard)
            keyboardUsed();
    });
    connect(canvas, &PictureBox::focusLeft, this, [this] {
        cursor_ = false;
        emit cursorShown();
    });
}

void CanvasView::keyboardUsed()
{
    cursor_ = true;
    emit cursorShown();
}

void CanvasView::draw(int dotSize, bool grid, bool underlay)
{
    const int W = picture_->width(), H = picture_->height(), D = dotSize;
    dotSize_ = D;
    underlay_ = underlay;
    preview_->setSurfaceSize(W, H);
    preview_->restoreStore(picture_->store());
    canvas_->setSurfaceSize(W * D, H * D);
    canvas_->setPitch(D);
    const PictureBox::Batch oneRepaint(canvas_);
    canvas_->clear();
    if (underlay) {
        holder_->setSurfaceSize(canvas_->scaleWidth(), canvas_->scaleHeight());
        BitBlt(canvas_, 0, 0, holder_->scaleWidth(), holder_->scaleHeight(), holder_, 0, 0, SRCCOPY);
        canvas_->refresh();
    }
    // The black dots, and a colour picture's colours, fill their cells' interiors.
    shown_ = picture_->image();
    for (int x = 0; x < W; ++x)
        for (int y = 0; y < H; ++y) {
            const QRgb dot = dots::at(shown_, x, y);
            if (!dots::isWhite(dot))
                canvas_->fillBox(cellRect(x, y, D), colourOf(dot));
        }
    if (D > 1 && grid) {
        for (int x = 0; x <= W; ++x)
            canvas_->line(x * D, 0, x * D, H * D, kGridColor);
        for (int y = 0; y <= H; ++y)
            canvas_->line(0, y * D, W * D, y * D, kGridColor);
    }
}

bool CanvasView::fits() const
{
    return shown_.size() == picture_->size() && canvas_->scaleWidth() == picture_->width() * dotSize_
           && canvas_->scaleHeight() == picture_->height() * dotSize_;
}

void CanvasView::showDots(QRect dots)
{
    if (held_)
        return;
    if (!fits()) {
        emit redrawNeeded();
        return;
    }
    const PictureBox::Batch oneRepaint(canvas_);
    const QRect inside = dots & QRect(QPoint(0, 0), picture_->size());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (dots::at(shown_, x, y) != picture_->dot(x, y))
                paintCell(QPoint(x, y));
}

void CanvasView::showCell(QPoint dot)
{
    if (underlay_ && fits() && !held_)
        paintCell(dot);
}

void CanvasView::paintCell(QPoint dot)
{
    const int D = dotSize_;
    const QRect cell = cellRect(dot.x(), dot.y(), D);
    const QRgb colour = picture_->dot(dot);
    dots::put(shown_, dot.x(), dot.y(), colour);
    preview_->pset(dot.x(), dot.y(), colourOf(colour));
    if (!dots::isWhite(colour)) {
        canvas_->fillBox(cell, colourOf(colour));
    } else if (underlay_) {
        // White uncovers the underlay in the cell.
        BitBlt(canvas_, cell.left(), cell.top(), D - 1, D - 1, holder_, cell.left(), cell.top(), SRCCOPY);
        canvas_->refresh(cell);
    } else {
        canvas_->fillBox(cell, kWhite);
    }
}

void CanvasView::showTool(int tool)
{
    using T = CanvasEditor::Tool;
    const T t = T(tool);
    canvas_->setCursor(t == T::Pen ? Qt::ArrowCursor : t == T::Fill ? Qt::PointingHandCursor
                                                     : t == T::Selection ? Qt::SizeAllCursor : Qt::CrossCursor);
}

void CanvasView::showMarks(QPoint cursor, bool mirror, std::optional<QRect> selection)
{
    const int D = dotSize_;
    const QSize size = picture_->size();
    const bool shown = cursor_ && canvas_->hasFocus() && !size.isEmpty();
    canvas_->setOutline(shown ? std::optional<QRect>(QRect(cursor.x() * D, cursor.y() * D, D + 1, D + 1)) : std::nullopt);
    // The axis lies between two dots when the width is even, on the middle column's middle
    // when it is odd.
    std::optional<int> axis;
    if (mirror && size.width() > 0)
        axis = size.width() % 2 == 0 ? size.width() / 2 * D : size.width() / 2 * D + D / 2;
    canvas_->setAxis(axis);
    canvas_->setSelection(selection ? std::optional<QRect>(QRect(selection->x() * D, selection->y() * D,
                                                                 selection->width() * D + 1, selection->height() * D + 1))
                                    : std::nullopt);
    canvas_->accessibleValueChanged();
}

QString CanvasView::cursorValue(QPoint cursor) const
{
    if (picture_->size().isEmpty())
        return QCoreApplication::translate("frmMain", "点がありません");
    const int square = dots::squareOf(picture_->dot(cursor));
    return QCoreApplication::translate("frmMain", "カーソル %1 列 %2 行、%3")
        .arg(cursor.x() + 1)
        .arg(cursor.y() + 1)
        .arg(QCoreApplication::translate("commands", dots::kSquares[size_t(square < 0 ? 1 : square)].name));
}
