// The commands of the control panel.
#include "frmMain.h"

#include "convert/underlayLoading.h"
#include "editing/stroke.h"
#include "functions/Functions.h"
#include "editing/pictureHistory.h"
#include "result/dotText.h"
#include "result/frmResult.h"
#include "sizeEntry.h"
#include "toolkit/MsgBox.h"
#include "toolkit/PictureBox.h"
#include "pictures/PictureFile.h"
#include "pictures/PictureLoader.h"
#include "toolkit/TextBox.h"

#include <QDir>
#include <QPushButton>

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
        MsgBox(this, QStringLiteral("最大サイズは%1ドットです").arg(kApplyLimit));
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
    history_->begin(QStringLiteral("全消去"));
    picPreview->clear();
    history_->end();
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
    source.text = [this] {
        return dotText(txtWidth->text(), txtHeight->text(), [this](int x, int y) { return isBlackDot(x, y); });
    };
    source.loaded = [this](bool loaded) {
        setEnabled(!loaded);
        if (!loaded)
            returnFocus();
    };
    source.messageParent = this;
    source.post = [this] { showPost(); };
    rememberFocus();
    result_ = new frmResult(std::move(source));
    result_->Show();
}

namespace {

void digitFilter(std::int16_t &KeyAscii)
{
    if (KeyAscii == 8)
        return;
    if (KeyAscii > '9' || KeyAscii < '0')
        KeyAscii = 0;
}

} // namespace

void frmMain::txtWidth_KeyPress(std::int16_t &KeyAscii) { digitFilter(KeyAscii); }

void frmMain::txtHeight_KeyPress(std::int16_t &KeyAscii) { digitFilter(KeyAscii); }

void frmMain::chkTrace_Click()
{
    if (chkTrace->isChecked()) {
        const QString filter = pictureFileFilter();
        const QString path = ShowOpenDialog(this, filter, QDir::currentPath());
        if (path.isEmpty())
            return;
        // On failure the holder keeps its previous picture; the redraw shows it.
        loadUnderlay(pictureFromFile(path, QSize(kLargestCanvas, kLargestCanvas)),
                     shownFileName(QDir::toNativeSeparators(path)), [this](bool) { Draw(); });
        return;
    }
    Draw();
}

void frmMain::loadUnderlay(const PictureRequest &request, const QString &name, std::function<void(bool taken)> then)
{
    loading_->load(request, [this, name, then](const std::shared_ptr<PictureSource> &picture) {
        const bool taken = picture && takeUnderlay(picture, name);
        then(taken);
        const bool convert = std::exchange(convertWhenRead_, false);
        if (convert && taken)
            showConvert();
    });
}

bool frmMain::takeUnderlay(const std::shared_ptr<PictureSource> &picture, const QString &name)
{
    // Decoded now as far as the canvas shows it, so that a picture that cannot be decoded
    // is told now, and the underlay before it stays.
    if (picture->trouble() == LoadTrouble::None) {
        if (underlay_.placement() == Placement::AsLoaded || !picture->hasWhole())
            picture->topLeft();
        else
            picture->whole(QSize(1, 1));
    }
    if (picture->trouble() != LoadTrouble::None) {
        MsgBox(this, loadTroubleMessage(name, picture->trouble(), picture->declared(), picture->fileBytes()));
        return false;
    }
    underlay_.take(picture);
    showCommandStates();
    // Into the holder at once: white painting uncovers the new picture even before the
    // next redraw, placed as the canvas places it.
    holderKey_.reset();
    placeUnderlay(QSize(picDot->scaleWidth(), picDot->scaleHeight()));
    if (underlay_.placement() != Placement::AsLoaded && !underlay_.hasWhole())
        MsgBox(this, QStringLiteral("「%1」は大きすぎるため、全体を縮めて置くことができません（%2 × %3 ピクセル）。"
                                    "左上をそのまま置きます。")
                         .arg(name, QString::number(picture->declared().width()),
                              QString::number(picture->declared().height())));
    return true;
}

void frmMain::loadUnderlayAndShow(const PictureRequest &request, const QString &name)
{
    loadUnderlay(request, name, [this](bool taken) {
        if (taken) {
            chkTrace->setChecked(true);
            Draw();
        }
    });
}

void frmMain::openPicture(const QString &path)
{
    loadUnderlayAndShow(pictureFromFile(path, QSize(kLargestCanvas, kLargestCanvas)),
                        shownFileName(QDir::toNativeSeparators(path)));
}

frmResult *frmMain::resultWindow() const { return result_; }
