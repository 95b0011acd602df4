#include "underlayControl.h"

#include "frmConvert.h"
#include "underlayLoading.h"

#include "dotPicture.h"
#include "pictures/PictureFile.h"
#include "pictures/PictureLoader.h"
#include "sizeEntry.h"
#include "toolkit/MsgBox.h"
#include "toolkit/PictureBox.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>

UnderlayControl::UnderlayControl(Window window, QRect panelArea) : window_(std::move(window))
{
    // Below the panel, over the true-size picture, while a large picture is read.
    loading_ = new UnderlayLoading(window_.widget, window_.canvas, panelArea);
    connect(loading_, &UnderlayLoading::busyChanged, this, &UnderlayControl::changed);
}

UnderlayControl::~UnderlayControl()
{
    // A picture still being read is stopped, and nothing it gave reaches the window.
    delete loading_;
    delete convert_.data();
}

bool UnderlayControl::busy() const { return loading_->busy(); }

frmConvert *UnderlayControl::convertWindow() const { return convert_; }

void UnderlayControl::load(const PictureRequest &request, const QString &name, std::function<void(bool taken)> then)
{
    loading_->load(request, [this, name, then](const std::shared_ptr<PictureSource> &picture) {
        const bool taken = picture && take(picture, name);
        then(taken);
        // Ctrl+T right after a picture was given waited for it.
        if (std::exchange(convertWhenRead_, false) && taken)
            showConvert();
    });
}

void UnderlayControl::loadAndShow(const PictureRequest &request, const QString &name)
{
    load(request, name, [this](bool taken) {
        if (taken)
            window_.switchOn();
    });
}

void UnderlayControl::openPicture(const QString &path)
{
    loadAndShow(pictureFromFile(path, QSize(kLargestCanvas, kLargestCanvas)), shownFileName(QDir::toNativeSeparators(path)));
}

void UnderlayControl::showPlacement(Placement placement)
{
    window_.placements[int(placement)]->setChecked(true);
}

bool UnderlayControl::take(const std::shared_ptr<PictureSource> &picture, const QString &name)
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
        MsgBox(window_.widget, loadTroubleMessage(name, picture->trouble(), picture->declared(), picture->fileBytes()));
        return false;
    }
    underlay_.take(picture);
    emit changed();
    // Into the holder at once: white painting uncovers the new picture even before the
    // next redraw, placed as the canvas places it.
    holderKey_.reset();
    place(QSize(window_.canvas->scaleWidth(), window_.canvas->scaleHeight()));
    if (underlay_.placement() != Placement::AsLoaded && !underlay_.hasWhole())
        MsgBox(window_.widget, tr("「%1」は大きすぎるため、全体を縮めて置くことができません（%2 × %3 ピクセル）。"
                                  "左上をそのまま置きます。")
                                   .arg(name, QString::number(picture->declared().width()),
                                        QString::number(picture->declared().height())));
    return true;
}

void UnderlayControl::place(QSize canvas)
{
    // A fitted or filled underlay is placed anew for every canvas size; the holder then
    // holds what lies under the canvas, so that white painting uncovers what a redraw shows.
    // One lying as loaded stays as it was loaded, whatever the canvas.
    const int cell = window_.dotSize();
    if (underlay_.loaded() && (!holderKey_ || underlay_.holderKey(canvas, cell) != *holderKey_)) {
        window_.holder->setPicture(underlay_.holderImage(canvas, cell));
        holderKey_ = underlay_.holderKey(canvas, cell);
    }
}

void UnderlayControl::setPlacement(Placement placement)
{
    underlay_.setPlacement(placement);
    placementChosen_ = true;
    showPlacement(placement);
    if (placement != Placement::AsLoaded && underlay_.loaded() && !underlay_.hasWhole())
        MsgBox(window_.widget, tr("この下絵は大きすぎるため、全体を縮めて置くことができません。左上をそのまま置きます。"));
    window_.redraw();
}

void UnderlayControl::cycleStrength()
{
    // Laid over white, so that black dots stand out on the darkest picture.
    const double next = underlay_.strength() > 0.75 ? 0.5 : underlay_.strength() > 0.375 ? 0.25 : 1.0;
    underlay_.setStrength(next);
    window_.strength->setChecked(next < 1.0);
    window_.strength->setText(QCoreApplication::translate("commands", "下絵を薄く表示（%1%）").arg(int(next * 100)));
    window_.redraw();
}

void UnderlayControl::showConvert()
{
    if (convert_) {
        convert_->raise();
        convert_->activateWindow();
        return;
    }
    // The picture just given is what the user means to turn into dots.
    if (loading_->busy()) {
        convertWhenRead_ = true;
        return;
    }
    if (!underlay_.loaded()) {
        MsgBox(window_.widget, tr("下絵がありません。先に「下絵」ボタンで画像を開くか、画像をドロップまたは貼り付けてください。"));
        return;
    }
    framingBefore_ = underlay_.framing();
    convert_ = new frmConvert(window_.widget, underlay_.hasWhole());
    connect(convert_, &frmConvert::settingsChanged, this, [this](const ConvertSettings &s) {
        // The canvas shows the underlay as it is framed, and the dots it gives.
        underlay_.setFraming(s.framing);
        showPlacement(s.framing.placement);
        const Conversion::Result result = convert_->convert(underlay_, window_.picture->size(), window_.dotSize());
        window_.preview(result.dots);
    });
    connect(convert_, &frmConvert::strengthAsked, this, &UnderlayControl::cycleStrength);
    // The window is gone for this one as soon as it closes, before Qt deletes it.
    connect(convert_, &QDialog::accepted, this, [this] {
        // Where the underlay lies now is the user's choice: the next Ctrl+T starts from it.
        placementChosen_ = true;
        convert_ = nullptr;
        window_.converting(false);
        window_.ended(true);
    });
    connect(convert_, &QDialog::rejected, this, [this] {
        underlay_.setFraming(framingBefore_);
        showPlacement(framingBefore_.placement);
        convert_ = nullptr;
        window_.converting(false);
        window_.ended(false);
    });
    window_.converting(true);
    // Where the underlay lies, when the user chose it (Ctrl+1 to Ctrl+3, or the last
    // conversion); else where the last conversion, of this start or an earlier one, had it.
    const QSize dots = window_.picture->size();
    convert_->start(placementChosen_ ? underlay_.framingFor(dots) : Framing{frmConvert::remembered().framing.placement, 1.0, {}}, dots);
}

bool UnderlayControl::canvasMouse(QEvent::Type type, int buttons, QPointF at, int wheel)
{
    if (!convert_)
        return false;
    switch (type) {
    case QEvent::MouseButtonPress: convert_->canvasPress(buttons, at); break;
    case QEvent::MouseMove: convert_->canvasMove(buttons, at, window_.dotSize()); break;
    case QEvent::MouseButtonRelease: convert_->canvasRelease(); break;
    default:
        convert_->canvasWheel(wheel, at, QSizeF(window_.canvas->scaleWidth(), window_.canvas->scaleHeight()), window_.dotSize());
        break;
    }
    return true;
}

bool UnderlayControl::canvasKey(int key)
{
    return convert_ && convert_->canvasKey(key);
}
