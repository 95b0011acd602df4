// The canvas: full redraw, and painting one dot at a time with the mouse and the keyboard.
#include "frmMain.h"

#include "cellGeometry.h"
#include "commands/commandList.h"
#include "convert/underlayLoading.h"
#include "editing/stroke.h"
#include "keeping/recovery.h"
#include "editing/pictureHistory.h"
#include "sizeEntry.h"
#include "toolkit/BitBlt.h"
#include "toolkit/MsgBox.h"
#include "toolkit/PictureBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/Twips.h"
#include "toolkit/WindowFrame.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>

#include <algorithm>

namespace {
constexpr Color kGridColor = 0xC0C0C0;
constexpr int kExtraWidthTwips = 1500;
constexpr int kExtraHeightTwips = 600;
constexpr int kSmallestHeightTwips = 6165;
} // namespace

bool frmMain::isBlackDot(int x, int y) const { return picPreview->point(x, y) == kBlack; }

std::optional<QSize> frmMain::entrySize() const { return sizeOf(txtWidth->text(), txtHeight->text()); }

QSize frmMain::pictureSize() const { return QSize(picPreview->scaleWidth(), picPreview->scaleHeight()); }

void frmMain::Draw()
{
    std::optional<QSize> size = entrySize();
    if (!size) {
        // Keep the picture as it is; the rest of the redraw still follows DotSize and the
        // toggles, so the canvas never disagrees with what the controls show.
        MsgBox(this, invalidSizeMessage());
        size = pictureSize();
    }
    drawAt(*size);
}

void frmMain::drawAt(QSize size)
{
    const int W = size.width();
    const int H = size.height();
    const int D = DotSize;

    // Width and height change together: one new image per surface, not two.
    picPreview->setSurfaceSize(W, H);
    picDot->setSurfaceSize(W * D, H * D);
    picDot->setPitch(D);
    const PictureBox::Batch oneRepaint(picDot);
    picDot->clear();

    const QSize canvas(picDot->scaleWidth(), picDot->scaleHeight());
    placeUnderlay(canvas);
    if (chkTrace->isChecked()) {
        picTrace->setSurfaceSize(canvas.width(), canvas.height());
        BitBlt(picDot, 0, 0, picTrace->scaleWidth(), picTrace->scaleHeight(), picTrace, 0, 0,
               SRCCOPY);
        picDot->refresh();
    }

    for (int x = 0; x < W; ++x)
        for (int y = 0; y < H; ++y)
            if (isBlackDot(x, y))
                picDot->fillBox(cellRect(x, y, D));

    if (D > 1 && chkBar->isChecked()) {
        for (int x = 0; x <= W; ++x)
            picDot->line(x * D, 0, x * D, H * D, kGridColor);
        for (int y = 0; y <= H; ++y)
            picDot->line(0, y * D, W * D, y * D, kGridColor);
    }

    cursor_ = QPoint(std::clamp(cursor_.x(), 0, std::max(W - 1, 0)), std::clamp(cursor_.y(), 0, std::max(H - 1, 0)));
    picDot->setAccessibleName(QStringLiteral("キャンバス（%1 × %2 ドット）").arg(W).arg(H));
    showMarks();
    fitWindow();
    refreshPost();
    showCommandStates();
    // The copy holds the picture's size too.
    if (recovery_)
        recovery_->changed();
    showTitle();
}

void frmMain::placeUnderlay(QSize canvas)
{
    // A fitted or filled underlay is placed anew for every canvas size; the holder then
    // holds what lies under the canvas, so that white painting uncovers what a redraw shows.
    // One lying as loaded stays as it was loaded, whatever the canvas.
    if (underlay_.loaded() && (!holderKey_ || underlay_.holderKey(canvas, DotSize) != *holderKey_)) {
        picTrace->setPicture(underlay_.holderImage(canvas, DotSize));
        holderKey_ = underlay_.holderKey(canvas, DotSize);
    }
}

void frmMain::showCommandStates()
{
    // Ctrl+T right after a picture was given waits for it (showConvert).
    commands_->action(CommandList::Convert)->setEnabled(underlay_.loaded() || loading_->busy());
    const bool dots = !pictureSize().isEmpty();
    for (CommandList::Id id : {CommandList::Invert, CommandList::FlipLeftRight, CommandList::FlipTopBottom,
                               CommandList::ShiftLeft, CommandList::ShiftRight, CommandList::ShiftUp,
                               CommandList::ShiftDown, CommandList::TurnClockwise, CommandList::TurnAnticlockwise})
        commands_->action(id)->setEnabled(dots);
}

void frmMain::fitWindow()
{
    fittedFrame_ = frameOf(this);
    if (isMaximized())
        return;
    // Width and height in one resize: the least height is applied to the height before it
    // is set, not after, so that the window system lays the window out and repaints it once.
    setOuterSizeTwips(this, pixelsToTwips(picDot->scaleWidth()) + kExtraWidthTwips,
                      std::max(pixelsToTwips(picDot->scaleHeight()) + kExtraHeightTwips, kSmallestHeightTwips));
}

void frmMain::DotDraw(std::int16_t Button, float X, float Y)
{
    if (const std::optional<QPoint> dot = dotAt(X, Y, DotSize))
        paintDot(Button, *dot);
}

void frmMain::paintDot(std::int16_t Button, QPoint dot)
{
    const int D = DotSize;
    const QRect cell = cellRect(dot.x(), dot.y(), D);
    if (Button == 1) {
        picPreview->pset(dot.x(), dot.y());
        picDot->fillBox(cell);
        return;
    }
    picPreview->pset(dot.x(), dot.y(), kWhite);
    if (chkTrace->isChecked()) {
        BitBlt(picDot, cell.left(), cell.top(), D - 1, D - 1, picTrace, cell.left(), cell.top(),
               SRCCOPY);
        picDot->refresh(cell);
    } else {
        picDot->fillBox(cell, kWhite);
    }
}

void frmMain::strokePaint(int button, QPoint dot)
{
    paintDot(std::int16_t(button), dot);
    if (mirror_) {
        const QPoint mirrored(pictureSize().width() - 1 - dot.x(), dot.y());
        if (mirrored != dot)
            paintDot(std::int16_t(button), mirrored);
    }
    if (dot == cursor_)
        picDot->accessibleValueChanged();
}

void frmMain::picDot_MouseDown(int Button, int Shift, float X, float Y)
{
    if (frameWithCanvas(QEvent::MouseButtonPress, Button, QPointF(X, Y)))
        return;
    // Shift with a click: the straight line from the last dot painted.
    const std::optional<QPoint> dot = dotInPicture(X, Y);
    stroke_->press(Button, dot, (Shift & 1) != 0);
    Painting = true;
    // The keyboard goes on from where the mouse was last pressed.
    if (dot) {
        cursor_ = *dot;
        showMarks();
    }
}

void frmMain::picDot_MouseMove(int Button, int, float X, float Y)
{
    if (frameWithCanvas(QEvent::MouseMove, Button, QPointF(X, Y)))
        return;
    if (!Painting)
        return;
    if (Button == 0) {
        // No button is held, so the release was lost (a grab broken, the focus stolen):
        // the stroke is over, and hovering must not erase the picture.
        endStroke();
        return;
    }
    stroke_->move(Button, dotInPicture(X, Y));
}

void frmMain::picDot_MouseUp(int Button, int, float X, float Y)
{
    if (!frameWithCanvas(QEvent::MouseButtonRelease, Button, QPointF(X, Y)))
        endStroke();
}

void frmMain::endStroke()
{
    Painting = false;
    strokeKey_ = 0;
    stroke_->release();
    refreshPost();
}

std::optional<QPoint> frmMain::dotInPicture(float X, float Y) const
{
    const std::optional<QPoint> dot = dotAt(X, Y, DotSize);
    if (!dot || !QRect(QPoint(0, 0), pictureSize()).contains(*dot))
        return std::nullopt;
    return dot;
}

void frmMain::picDot_KeyDown(int KeyCode, int, bool repeated)
{
    const QSize size = pictureSize();
    if (size.isEmpty())
        return;
    cursorShown_ = true;
    QPoint to = cursor_;
    switch (KeyCode) {
    case Qt::Key_Left: to.rx() -= 1; break;
    case Qt::Key_Right: to.rx() += 1; break;
    case Qt::Key_Up: to.ry() -= 1; break;
    case Qt::Key_Down: to.ry() += 1; break;
    case Qt::Key_Home: to.setX(0); break;
    case Qt::Key_End: to.setX(size.width() - 1); break;
    case Qt::Key_PageUp: to.setY(0); break;
    case Qt::Key_PageDown: to.setY(size.height() - 1); break;
    case Qt::Key_Space:
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        // A key held down repeats its press: the stroke it began goes on.
        if (!repeated && !stroke_->active()) {
            strokeKey_ = KeyCode == Qt::Key_Space ? Qt::Key_Space : Qt::Key_Delete;
            stroke_->press(KeyCode == Qt::Key_Space ? 1 : 2, cursor_);
        }
        showMarks();
        return;
    default:
        return;
    }
    moveCursorTo(QPoint(std::clamp(to.x(), 0, size.width() - 1), std::clamp(to.y(), 0, size.height() - 1)));
}

void frmMain::picDot_KeyUp(int KeyCode, int, bool repeated)
{
    const int key = KeyCode == Qt::Key_Backspace ? Qt::Key_Delete : KeyCode;
    if (!repeated && strokeKey_ != 0 && key == strokeKey_)
        endStroke();
}

void frmMain::moveCursorTo(QPoint dot)
{
    // Holding Space or Delete paints every dot the cursor passes.
    if (strokeKey_ != 0)
        stroke_->move(strokeKey_ == Qt::Key_Space ? 1 : 2, dot);
    cursor_ = dot;
    showMarks();
}

void frmMain::showMarks()
{
    const int D = DotSize;
    const QSize size = pictureSize();
    const bool shown = cursorShown_ && !size.isEmpty() && picDot->hasFocus();
    picDot->setOutline(shown ? std::optional<QRect>(QRect(cursor_.x() * D, cursor_.y() * D, D + 1, D + 1))
                             : std::nullopt);
    // The axis lies between two dots when the width is even, on the middle column's middle
    // when it is odd.
    std::optional<int> axis;
    if (mirror_ && size.width() > 0)
        axis = size.width() % 2 == 0 ? size.width() / 2 * D : size.width() / 2 * D + D / 2;
    picDot->setAxis(axis);
    picDot->accessibleValueChanged();
}

QString frmMain::canvasValue() const
{
    const QSize size = pictureSize();
    if (size.isEmpty())
        return QStringLiteral("点がありません");
    return QStringLiteral("カーソル %1 列 %2 行、%3")
        .arg(cursor_.x() + 1)
        .arg(cursor_.y() + 1)
        .arg(isBlackDot(cursor_.x(), cursor_.y()) ? QStringLiteral("黒") : QStringLiteral("白"));
}
