// The control panel's handlers, the canvas's full redraw, each cell shown as the picture's dot
// is, and the mouse and the keys on the canvas.
#include "frmMain.h"

#include "cellGeometry.h"
#include "convert/underlayControl.h"
#include "dotImage.h"
#include "dotPicture.h"
#include "editing/colourMode.h"
#include "editing/canvasView.h"
#include "functions/Functions.h"
#include "keeping/fileKeeper.h"
#include "keeping/recovery.h"
#include "pictures/PictureFile.h"
#include "pictures/PictureLoader.h"
#include "result/dotText.h"
#include "result/frmResult.h"
#include "sizeEntry.h"
#include "toolkit/FocusReturn.h"
#include "toolkit/MsgBox.h"
#include "toolkit/PictureBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/Twips.h"
#include "toolkit/WindowFrame.h"

#include <QCheckBox>
#include <QDir>
#include <QPushButton>

namespace {
constexpr int kExtraWidthTwips = 1500;
constexpr int kExtraHeightTwips = 600;
constexpr int kSmallestHeightTwips = 6165;
} // namespace

std::optional<QSize> frmMain::entrySize() const { return sizeOf(txtWidth->text(), txtHeight->text()); }

void frmMain::Draw()
{
    std::optional<QSize> size = entrySize();
    if (!size) {
        // Keep the picture as it is; the rest of the redraw still follows DotSize and the
        // toggles, so the canvas never disagrees with what the controls show.
        MsgBox(this, invalidSizeMessage());
        size = picture_->size();
    }
    drawAt(*size);
}

void frmMain::drawAt(QSize size)
{
    view_->hold(true);
    picture_->resize(size);
    view_->hold(false);
    underlay_->place(size * DotSize);
    view_->draw(DotSize, chkBar->isChecked(), chkTrace->isChecked());
    editor_->setCursor(editor_->cursor());
    picDot->setAccessibleName(tr("キャンバス（%1 × %2 ドット）").arg(size.width()).arg(size.height()));
    showMarks();
    fitWindow();
    refreshPost();
    updateActions();
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
    // Left alone the one dot is black (or the colour chosen); any other button white.
    if (const std::optional<QPoint> dot = dotAt(X, Y, DotSize))
        picture_->setDot(*dot, Button == 1 ? editor_->colour() : dots::kWhitePixel);
}

void frmMain::picDot_MouseDown(int Button, int Shift, float X, float Y)
{
    // While the conversion window is open, the canvas frames the underlay.
    if (underlay_->canvasMouse(QEvent::MouseButtonPress, Button, QPointF(X, Y)))
        return;
    const std::optional<QPoint> dot = dotAt(X, Y, DotSize);
    editor_->press(Button, dot, (Shift & 1) != 0);
    Painting = true;
    // The keyboard goes on from where the mouse was last pressed.
    if (dot && picture_->contains(*dot))
        editor_->setCursor(*dot);
}

void frmMain::picDot_MouseMove(int Button, int Shift, float X, float Y)
{
    if (underlay_->canvasMouse(QEvent::MouseMove, Button, QPointF(X, Y)) || !Painting)
        return;
    if (Button == 0) {
        // No button is held, so the release was lost (a grab broken, the focus stolen):
        // what the press began is over, and hovering must not erase the picture.
        Painting = false;
        editor_->release();
        return;
    }
    editor_->move(Button, dotAt(X, Y, DotSize), (Shift & 1) != 0);
}

void frmMain::picDot_MouseUp(int Button, int, float X, float Y)
{
    if (underlay_->canvasMouse(QEvent::MouseButtonRelease, Button, QPointF(X, Y)))
        return;
    Painting = false;
    editor_->release();
}

bool frmMain::canvasKey(int key, int shift, bool down, bool repeated)
{
    // While the underlay is framed, the canvas's keys frame it, and Enter and Escape end
    // the conversion as its window's buttons do.
    if (underlay_->convertWindow())
        return down && underlay_->canvasKey(key);
    const bool taken = editor_->key(key, shift, down, repeated);
    if (taken && down)
        view_->keyboardUsed();
    return taken;
}

void frmMain::showMarks() { view_->showMarks(editor_->cursor(), editor_->mirror(), editor_->selection()); }

void frmMain::Form_Load()
{
    DotSize = 12;
    Draw();
}

void frmMain::optSize_Click(int index)
{
    DotSize = index + 1;
    Draw();
}

void frmMain::chkBar_Click() { Draw(); }

void frmMain::limitEntry(TextBox *entry)
{
    // A field that does not read as a number is left for Draw to report, once.
    const std::optional<int> value = sizeValue(entry->text());
    if (value && *value > kApplyLimit) {
        MsgBox(this, QCoreApplication::translate("frmMain", "最大サイズは%1ドットです").arg(kApplyLimit));
        entry->setText(QString::number(kApplyLimit));
    }
}

void frmMain::cmdCanvas_Click()
{
    limitEntry(txtWidth);
    limitEntry(txtHeight);
    Draw();
}

void frmMain::cmdClear_Click()
{
    // Every dot white, those a smaller size hid too: one step, which gives them all back.
    if (editor_->busy())
        return;
    editor_->dropSelection();
    history_->replace(QCoreApplication::translate("frmMain", "全消去"), dots::white(picture_->size()));
    Draw();
}

void frmMain::cmdOK_Click() { showResult(); }

void frmMain::picPreview_Click() { showResult(); }

void frmMain::showResult()
{
    // The window goes away after it is closed; a closed one is never shown again.
    if (raiseResult())
        return;
    frmResult::Source source;
    source.text = [this]() -> std::optional<QString> {
        // A colour picture in its squares, at the fields' size; else as the text always was.
        if (colour_->on())
            return entrySize() ? std::optional<QString>(pictureText(dotTextPicture(*picture_, *entrySize()), true)) : std::nullopt;
        return dotText(txtWidth->text(), txtHeight->text(), [this](int x, int y) { return picture_->isBlack(x, y); });
    };
    source.loaded = [this](bool loaded) {
        setEnabled(!loaded);
        if (!loaded)
            focus_->giveBack();
    };
    source.messageParent = this;
    source.post = [this] { showPost(); };
    focus_->remember();
    result_ = new frmResult(std::move(source));
    result_->Show();
}

void frmMain::txtWidth_KeyPress(std::int16_t &KeyAscii) { keepDigits(KeyAscii); }

void frmMain::txtHeight_KeyPress(std::int16_t &KeyAscii) { keepDigits(KeyAscii); }

void frmMain::chkTrace_Click()
{
    if (chkTrace->isChecked()) {
        const QString filter = pictureFileFilter();
        const QString path = ShowOpenDialog(this, filter, QDir::currentPath());
        if (path.isEmpty())
            return;
        // On failure the holder keeps its previous picture; the redraw shows it.
        underlay_->load(pictureFromFile(path, QSize(kLargestCanvas, kLargestCanvas)),
                        shownFileName(QDir::toNativeSeparators(path)), [this](bool) { Draw(); });
        return;
    }
    Draw();
}

frmResult *frmMain::resultWindow() const { return result_; }

void frmMain::offerRecovery() { keeper_->offerRecovery(*recovery_); }

void frmMain::openFromCommandLine(const QString &path)
{
    if (FileKeeper::isUnderlayPicture(path))
        underlay_->openPicture(path);
    else
        keeper_->openFile(path);
}

UnderlayLoading *frmMain::underlayLoading() const { return underlay_->loading(); }
