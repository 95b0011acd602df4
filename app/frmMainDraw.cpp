// The canvas: full redraw, and painting one dot at a time with the mouse.
#include "frmMain.h"

#include "cellGeometry.h"
#include "pictureHistory.h"
#include "sizeEntry.h"
#include "strokeLine.h"
#include "toolkit/BitBlt.h"
#include "toolkit/MsgBox.h"
#include "toolkit/PictureBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/Twips.h"
#include "toolkit/WindowFrame.h"

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

std::optional<QSize> frmMain::entrySize() const
{
    const auto w = sizeValue(txtWidth->text());
    const auto h = sizeValue(txtHeight->text());
    if (!w || !h)
        return std::nullopt;
    return QSize(*w, *h);
}

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
    const PictureBox::Batch oneRepaint(picDot);
    picDot->clear();

    if (chkTrace->isChecked()) {
        picTrace->setSurfaceSize(picDot->scaleWidth(), picDot->scaleHeight());
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

    fitWindow();
}

void frmMain::fitWindow()
{
    fittedFrame_ = frameOf(this);
    if (isMaximized())
        return;
    setOuterWidthTwips(this, pixelsToTwips(picDot->scaleWidth()) + kExtraWidthTwips);
    // The least height is applied before the window is resized, not after: resizing
    // it twice would make the window system lay it out and repaint it twice.
    setOuterHeightTwips(this, std::max(pixelsToTwips(picDot->scaleHeight()) + kExtraHeightTwips,
                                       kSmallestHeightTwips));
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

void frmMain::picDot_MouseDown(int Button, int, float X, float Y)
{
    if (!Painting)
        history_->begin();
    DotDraw(std::int16_t(Button), X, Y);
    strokeDot_ = dotInPicture(X, Y);
    strokeButton_ = Button;
    Painting = true;
}

void frmMain::picDot_MouseMove(int Button, int, float X, float Y)
{
    if (!Painting)
        return;
    if (Button == 0) {
        // No button is held, so the release was lost (a grab broken, the focus stolen):
        // the stroke is over, and hovering must not erase the picture.
        endStroke();
        return;
    }
    const std::optional<QPoint> dot = dotInPicture(X, Y);
    if (dot && strokeDot_) {
        // Every dot between the last position and this one, however far apart the window
        // system delivered them. The first was just painted with the same buttons unless
        // they changed: painting it again would change nothing and double a slow drag's work.
        const QPoint from = *strokeDot_;
        const bool skipFrom = *dot != from && Button == strokeButton_;
        forEachDotOnLine(from, *dot, [&](QPoint p) {
            if (!(skipFrom && p == from))
                paintDot(std::int16_t(Button), p);
        });
    } else {
        DotDraw(std::int16_t(Button), X, Y);
    }
    strokeDot_ = dot;
    strokeButton_ = Button;
}

void frmMain::picDot_MouseUp(int, int, float, float) { endStroke(); }

void frmMain::endStroke()
{
    Painting = false;
    strokeDot_.reset();
    history_->end();
}

std::optional<QPoint> frmMain::dotInPicture(float X, float Y) const
{
    const std::optional<QPoint> dot = dotAt(X, Y, DotSize);
    if (!dot || !QRect(QPoint(0, 0), pictureSize()).contains(*dot))
        return std::nullopt;
    return dot;
}
