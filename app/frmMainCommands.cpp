// The commands of the control panel.
#include "frmMain.h"

#include "functions/Functions.h"
#include "pictureDrop.h"
#include "pictureHistory.h"
#include "result/dotText.h"
#include "result/frmResult.h"
#include "sizeEntry.h"
#include "toolkit/MsgBox.h"
#include "toolkit/PictureBox.h"
#include "toolkit/PictureLoader.h"
#include "toolkit/TextBox.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
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
    if (value && *value > kSizeLimit) {
        MsgBox(this, QStringLiteral("最大サイズは%1ドットです").arg(kSizeLimit));
        entry->setText(QString::number(kSizeLimit));
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
    history_->begin();
    picPreview->clear();
    history_->end();
    Draw();
}

void frmMain::undo()
{
    // Not in the middle of a stroke: the step it will become is not there yet.
    if (!Painting)
        history_->undo();
}

void frmMain::redo()
{
    if (!Painting)
        history_->redo();
}

void frmMain::cmdOK_Click() { showResult(); }

void frmMain::picPreview_Click() { showResult(); }

void frmMain::showResult()
{
    // The window goes away after it is closed; a closed one is never shown again.
    if (result_ && result_->isLoaded()) {
        result_->raise();
        return;
    }
    frmResult::Source source;
    source.text = [this] {
        return dotText(txtWidth->text(), txtHeight->text(), [this](int x, int y) { return isBlackDot(x, y); });
    };
    source.loaded = [this](bool loaded) { setEnabled(!loaded); };
    source.messageParent = this;
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
        // On failure the holder keeps its previous picture; the redraw below shows it.
        takeUnderlay(LoadPicture(path, QSize(kLargestCanvas, kLargestCanvas)),
                     QDir::toNativeSeparators(path));
    }
    Draw();
}

bool frmMain::takeUnderlay(LoadedPicture picture, const QString &name)
{
    if (picture.tooLarge) {
        MsgBox(this, QStringLiteral("「%1」は画像が大きすぎるため読み込めませんでした（%2 × %3 ピクセル）。")
                         .arg(name, QString::number(picture.declared.width()),
                              QString::number(picture.declared.height())));
        return false;
    }
    if (picture.image.isNull()) {
        MsgBox(this, QStringLiteral("「%1」を画像として読み込めませんでした。").arg(name));
        return false;
    }
    picTrace->setPicture(std::move(picture.image));
    return true;
}

void frmMain::underlayFrom(const QMimeData *data, const QString &unnamed)
{
    std::optional<OfferedPicture> offer =
        loadOfferedPicture(data, QSize(kLargestCanvas, kLargestCanvas), unnamed);
    // Text and the like are no picture: nothing happens, nothing is said.
    if (!offer || !takeUnderlay(std::move(offer->picture), offer->name))
        return;
    chkTrace->setChecked(true);
    Draw();
}

void frmMain::pasteUnderlay()
{
    underlayFrom(QGuiApplication::clipboard()->mimeData(), QStringLiteral("クリップボードの画像"));
}

frmResult *frmMain::resultWindow() const { return result_; }
