#include "colourMode.h"

#include "canvasEditor.h"
#include "dotImage.h"
#include "dotPicture.h"
#include "frmPalette.h"
#include "pictureHistory.h"
#include "toolkit/MsgBox.h"

#include <QCoreApplication>

ColourMode::ColourMode(QWidget *window, DotPicture *picture, PictureHistory *history, CanvasEditor *editor)
    : QObject(window), window_(window), picture_(picture), history_(history), editor_(editor)
{
}

ColourMode::~ColourMode() { delete palette_.data(); }

frmPalette *ColourMode::palette() const { return palette_; }

bool ColourMode::set(bool on)
{
    if (on == on_)
        return true;
    if (!on && picture_->hasColour()) {
        const int answer = MsgBoxAsk(window_, tr("白以外の色はすべて黒になります。カラーをやめますか？"), {tr("はい"), tr("いいえ")}, 1);
        if (answer != 0) {
            emit switched(on_);
            return false;
        }
        QImage dots = picture_->image();
        for (int y = 0; y < dots.height(); ++y)
            for (int x = 0; x < dots.width(); ++x)
                if (!dots::isWhite(dots::at(dots, x, y)))
                    dots::set(dots, x, y, true);
        editor_->dropSelection();
        history_->replace(tr("カラーをやめる"), dots);
    }
    on_ = on;
    if (on) {
        if (!palette_) {
            palette_ = new frmPalette(window_);
            connect(palette_, &frmPalette::squareChosen, this, &ColourMode::choose);
            palette_->adjustSize();
            // Beside the main window, where it leaves the canvas in sight.
            palette_->move(window_->frameGeometry().right() + 8, window_->frameGeometry().top());
        }
        palette_->show();
        choose(square_);
    } else {
        editor_->setColour(dots::kBlackPixel);
        if (palette_)
            palette_->hide();
    }
    emit switched(on);
    return true;
}

void ColourMode::choose(int square)
{
    if (!on_ || square < 0 || square > 8)
        return;
    square_ = square;
    editor_->setColour(dots::kSquares[size_t(square)].pixel);
    if (palette_)
        palette_->choose(square);
    emit chosen(square);
}
