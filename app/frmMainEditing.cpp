// The commands beyond the control panel: the undo history, the text on the clipboard, the
// whole-picture changes, mirror drawing, and the windows for converting, posting and help.
#include "frmMain.h"

#include "commands/commandList.h"
#include "commands/frmHelp.h"
#include "convert/frmConvert.h"
#include "convert/underlayLoading.h"
#include "dotImage.h"
#include "editing/stroke.h"
#include "editing/transforms.h"
#include "editing/pictureHistory.h"
#include "offers/pictureOffer.h"
#include "result/dotText.h"
#include "result/frmPost.h"
#include "keeping/savedPicture.h"
#include "result/textReading.h"
#include "sizeEntry.h"
#include "toolkit/MsgBox.h"
#include "offers/Offers.h"
#include "toolkit/PictureBox.h"
#include "toolkit/TextBox.h"

#include <QAction>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPushButton>

#include <cmath>

void frmMain::runCommand(int id)
{
    switch (CommandList::Id(id)) {
    case CommandList::Undo: undo(); break;
    case CommandList::Redo: redo(); break;
    case CommandList::Copy: copyText(); break;
    case CommandList::Paste: paste(); break;
    case CommandList::Save: save(false); break;
    case CommandList::SaveAs: save(true); break;
    case CommandList::Open: open(); break;
    case CommandList::OpenLast: openLast(); break;
    case CommandList::Convert: showConvert(); break;
    case CommandList::Post: showPost(); break;
    case CommandList::PlaceAsLoaded: setPlacement(Placement::AsLoaded); break;
    case CommandList::PlaceFitted: setPlacement(Placement::Fitted); break;
    case CommandList::PlaceFilled: setPlacement(Placement::Filled); break;
    case CommandList::Invert: invert(); break;
    case CommandList::FlipLeftRight: flipLeftRight(); break;
    case CommandList::FlipTopBottom: flipTopBottom(); break;
    case CommandList::ShiftLeft: shiftBy(-1, 0); break;
    case CommandList::ShiftRight: shiftBy(1, 0); break;
    case CommandList::ShiftUp: shiftBy(0, -1); break;
    case CommandList::ShiftDown: shiftBy(0, 1); break;
    case CommandList::TurnClockwise: turn(true); break;
    case CommandList::TurnAnticlockwise: turn(false); break;
    case CommandList::Mirror: setMirror(commands_->action(CommandList::Mirror)->isChecked()); break;
    case CommandList::UnderlayStrength: cycleStrength(); break;
    case CommandList::Help: showHelp(); break;
    case CommandList::Quit: close(); break;
    case CommandList::Count: break;
    }
}

void frmMain::undo()
{
    // Not in the middle of a stroke: the step it will become is not there yet.
    if (!stroke_->active())
        history_->undo();
}

void frmMain::redo()
{
    if (!stroke_->active())
        history_->redo();
}

void frmMain::copyText()
{
    const std::optional<QString> text =
        dotText(txtWidth->text(), txtHeight->text(), [this](int x, int y) { return isBlackDot(x, y); });
    if (!text) {
        MsgBox(this, invalidSizeMessage());
        return;
    }
    QGuiApplication::clipboard()->setText(*text);
}

void frmMain::paste()
{
    if (stroke_->active())
        return;
    const std::unique_ptr<OfferSource> offer = clipboardOffer();
    takeOffer(*offer, QStringLiteral("クリップボード"), QStringLiteral("クリップボードの画像"));
}

void frmMain::takeOffer(OfferSource &source, const QString &owner, const QString &unnamed)
{
    const TakenOffer taken = ::takeOffer(source, QSize(kLargestCanvas, kLargestCanvas), owner, unnamed,
                                         [this](const QString &text) { return takeDotText(text) != TextTaken::NotDotText; });
    switch (taken.kind) {
    case TakenOffer::Nothing:
        // Text that is no picture, and nothing else with it: said, not silently dropped.
        if (taken.textLeft)
            MsgBox(this, QStringLiteral("%1のテキストは絵の文字（■と□など）ではないため、何も変わりません。").arg(owner));
        return;
    case TakenOffer::TextUsed:
        return;
    case TakenOffer::Message:
        MsgBox(this, taken.message);
        return;
    case TakenOffer::Picture:
        // A picture this program saved is the picture again, as Ctrl+O opens it.
        if (!taken.path.isEmpty() && isOwnPictureFile(taken.path))
            openFile(taken.path);
        else
            loadUnderlayAndShow(taken.request, taken.name);
        return;
    }
}

frmMain::TextTaken frmMain::takeDotText(const QString &text, bool opened)
{
    // The pair the user typed in the posting window first, then the program's own.
    std::vector<DotPair> pairs;
    if (post_ && post_->typedPair())
        pairs.push_back(*post_->typedPair());
    for (const DotPair &p : builtInPairs())
        pairs.push_back(p);
    TextIntake read = readPictureText(text, pairs, kLargestSide, opened);
    if (read.kind == TextIntake::Ask) {
        const QString a = characterShown(read.first), b = characterShown(read.second);
        const int answer = MsgBoxAsk(this, whichIsBlackQuestion(read, opened),
                                     {QStringLiteral("「%1」を黒").arg(a), QStringLiteral("「%1」を黒").arg(b), QStringLiteral("キャンセル")}, 0);
        if (answer == 2)
            return TextTaken::Refused;
        read = readAnswered(text, read, answer == 0, kLargestSide, opened);
    }
    if (read.kind == TextIntake::NotDotText)
        return TextTaken::NotDotText;
    if (read.kind != TextIntake::Picture) {
        MsgBox(this, read.message);
        return TextTaken::Refused;
    }
    // The posting window's text with black and white swapped for a dark theme: its own text
    // is read the right way round, and any other in its characters is asked about, never
    // turned over without a word.
    QImage dots = read.dots;
    if (post_ && !opened && post_->wroteSwapped(text)) {
        dots = transforms::inverted(dots);
    } else if (post_ && post_->options().swap && !opened) {
        bool swapped = false;
        if (readPictureText(text, {post_->options().pair}, kLargestSide).kind == TextIntake::Picture) {
            const int answer = MsgBoxAsk(this, QStringLiteral("投稿用テキストの「白と黒を入れ替える」が選ばれています。"
                                                              "貼り付けたテキストの白と黒を入れ替えて読みますか？"),
                                         {QStringLiteral("入れ替えて読む"), QStringLiteral("そのまま読む"), QStringLiteral("キャンセル")}, 0);
            if (answer == 2)
                return TextTaken::Refused;
            swapped = answer == 0;
        }
        if (swapped)
            dots = transforms::inverted(dots);
    }
    takePicture(dots, opened ? QStringLiteral("絵を開く") : QStringLiteral("テキストの貼り付け"));
    return TextTaken::Picture;
}

void frmMain::takePicture(const QImage &dots, const QString &name)
{
    // The size and the dots together, one step: undoing it gives back both.
    history_->begin(name, true);
    txtWidth->setText(QString::number(dots.width()));
    txtHeight->setText(QString::number(dots.height()));
    picPreview->restoreStore(dots);
    stroke_->forgetLastPainted();
    drawAt(dots.size());
    history_->end();
}

std::optional<QImage> frmMain::shownPicture()
{
    const std::optional<QSize> size = entrySize();
    if (!size) {
        MsgBox(this, invalidSizeMessage());
        return std::nullopt;
    }
    picPreview->setSurfaceSize(size->width(), size->height());
    return picPreview->image().copy(QRect(QPoint(0, 0), *size));
}

void frmMain::replacePicture(const QString &name, const std::function<QImage(const QImage &)> &change,
                             bool swapSize)
{
    if (stroke_->active())
        return;
    const std::optional<QImage> before = shownPicture();
    if (!before)
        return;
    history_->begin(name, swapSize);
    const QImage after = change(*before);
    if (swapSize) {
        const QString width = txtWidth->text();
        txtWidth->setText(txtHeight->text());
        txtHeight->setText(width);
    }
    // The picture as shown is all a change acts on; what a smaller size hid goes with it, and
    // comes back with an undo.
    picPreview->restoreStore(after);
    stroke_->forgetLastPainted();
    drawAt(after.size());
    history_->end();
}

void frmMain::invert() { replacePicture(QStringLiteral("白黒反転"), transforms::inverted); }
void frmMain::flipLeftRight() { replacePicture(QStringLiteral("左右反転"), transforms::flippedLeftRight); }
void frmMain::flipTopBottom() { replacePicture(QStringLiteral("上下反転"), transforms::flippedTopBottom); }

void frmMain::shiftBy(int dx, int dy)
{
    replacePicture(QStringLiteral("ずらす"), [dx, dy](const QImage &p) { return transforms::shifted(p, dx, dy); });
}

void frmMain::turn(bool clockwise)
{
    replacePicture(clockwise ? QStringLiteral("右に90度回す") : QStringLiteral("左に90度回す"),
                   clockwise ? transforms::turnedClockwise : transforms::turnedAnticlockwise, true);
}

void frmMain::setMirror(bool on)
{
    mirror_ = on;
    commands_->action(CommandList::Mirror)->setChecked(on);
    showMarks();
}

void frmMain::setPlacement(Placement placement)
{
    underlay_.setPlacement(placement);
    placementChosen_ = true;
    showPlacement(placement);
    if (placement != Placement::AsLoaded && underlay_.loaded() && !underlay_.hasWhole())
        MsgBox(this, QStringLiteral("この下絵は大きすぎるため、全体を縮めて置くことができません。左上をそのまま置きます。"));
    drawAt(pictureSize());
}

void frmMain::showPlacement(Placement placement)
{
    const CommandList::Id ids[] = {CommandList::PlaceAsLoaded, CommandList::PlaceFitted, CommandList::PlaceFilled};
    commands_->action(ids[int(placement)])->setChecked(true);
}

void frmMain::cycleStrength()
{
    // Full, half, a quarter, and full again: laid over white, so that black dots stand out
    // on the darkest picture.
    const double next = underlay_.strength() > 0.75 ? 0.5 : underlay_.strength() > 0.375 ? 0.25 : 1.0;
    underlay_.setStrength(next);
    QAction *strength = commands_->action(CommandList::UnderlayStrength);
    strength->setChecked(next < 1.0);
    strength->setText(QStringLiteral("下絵を薄く表示（%1%）").arg(int(next * 100)));
    drawAt(pictureSize());
}

void frmMain::setConverting(bool on)
{
    // While the conversion window is open, the canvas frames the underlay and nothing else of
    // this window takes input: the window is not modal, so that the canvas can.
    Frame1->setEnabled(!on);
    picPreview->setEnabled(!on);
    for (int i = 0; i < CommandList::Count; ++i)
        commands_->action(CommandList::Id(i))->setEnabled(!on);
    if (!on) {
        showCommandStates();
        commands_->nameSteps(history_->undoName(), history_->redoName());
    }
}

void frmMain::showConvert()
{
    if (convert_) {
        convert_->raise();
        convert_->activateWindow();
        return;
    }
    if (stroke_->active())
        return;
    // The picture just given is what the user means to turn into dots.
    if (loading_->busy()) {
        convertWhenRead_ = true;
        return;
    }
    if (!underlay_.loaded()) {
        MsgBox(this, QStringLiteral("下絵がありません。先に「下絵」ボタンで画像を開くか、画像をドロップまたは貼り付けてください。"));
        return;
    }
    const std::optional<QImage> picture = shownPicture();
    if (!picture)
        return;
    framingBeforeConvert_ = underlay_.framing();
    rememberFocus();
    history_->begin(QStringLiteral("下絵から点を打つ"));
    convert_ = new frmConvert(this, underlay_.hasWhole());
    connect(convert_, &frmConvert::settingsChanged, this, [this](const ConvertSettings &s) {
        const QSize size = pictureSize();
        // The canvas shows the underlay as it is framed.
        underlay_.setFraming(s.framing);
        showPlacement(s.framing.placement);
        const Conversion::Result result = convert_->convert(underlay_, size, DotSize);
        picPreview->restoreStore(result.dots);
        drawAt(size);
    });
    connect(convert_, &frmConvert::strengthAsked, this, &frmMain::cycleStrength);
    // The window is gone for this one as soon as it closes, before Qt deletes it.
    connect(convert_, &QDialog::accepted, this, [this] {
        stroke_->forgetLastPainted();
        history_->end();
        // Where the underlay lies now is the user's choice: the next Ctrl+T starts from it.
        placementChosen_ = true;
        convert_ = nullptr;
        setConverting(false);
        returnFocus();
    });
    connect(convert_, &QDialog::rejected, this, [this] {
        history_->abandon();
        underlay_.setFraming(framingBeforeConvert_);
        showPlacement(framingBeforeConvert_.placement);
        convert_ = nullptr;
        setConverting(false);
        drawAt(pictureSize());
        returnFocus();
    });
    setConverting(true);
    // Where the underlay lies, when the user chose it (Ctrl+1 to Ctrl+3, or the last
    // conversion); else fitted.
    convert_->start(placementChosen_ ? underlay_.framingFor(pictureSize()) : Framing{Placement::Fitted, 1.0, {}},
                    pictureSize());
}

bool frmMain::frameWithCanvas(QEvent::Type type, int button, QPointF at, int wheelDelta)
{
    if (!convert_)
        return false;
    const int D = std::max(DotSize, 1);
    switch (type) {
    case QEvent::MouseButtonPress:
        dragFrom_ = button == 1 ? std::optional<QPointF>(at) : std::nullopt;
        break;
    case QEvent::MouseMove:
        // A drag moves the picture with the pointer, to the fraction of a dot.
        if (dragFrom_ && button != 0) {
            convert_->moveBy((at - *dragFrom_) / D);
            dragFrom_ = at;
        }
        break;
    case QEvent::MouseButtonRelease:
        dragFrom_.reset();
        break;
    case QEvent::Wheel: {
        // A notch of the wheel scales by 1.25 about the pointer.
        const QPointF middle(picDot->scaleWidth() / 2.0, picDot->scaleHeight() / 2.0);
        convert_->zoomBy(std::pow(frmConvert::kZoomStep, wheelDelta / 120.0), (at - middle) / D);
        break;
    }
    default:
        break;
    }
    return true;
}

void frmMain::showPost()
{
    if (!entrySize()) {
        MsgBox(this, invalidSizeMessage());
        return;
    }
    if (!post_) {
        post_ = new frmPost(nullptr);
        post_->installEventFilter(this);
    }
    if (!post_->isVisible())
        rememberFocus();
    // The picture first, so that the window opens as large as its text and counts need.
    post_->setPicture(pictureAt(entrySize().value_or(pictureSize())));
    post_->show();
    post_->raise();
    post_->activateWindow();
}

void frmMain::refreshPost()
{
    // The posting window follows the picture while it is open, as the result window's text
    // follows the size fields: the fields' size, every dot beyond the picture white.
    if (!post_ || !post_->isVisible())
        return;
    post_->setPicture(pictureAt(entrySize().value_or(pictureSize())));
}

QImage frmMain::pictureAt(QSize size) const
{
    // As the text of that size reads it: every dot beyond the picture white.
    QImage picture = dots::white(size);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if (isBlackDot(x, y))
                dots::set(picture, x, y, true);
    return picture;
}

void frmMain::showHelp()
{
    if (!help_) {
        help_ = new frmHelp(commands_->helpRows());
        help_->installEventFilter(this);
    }
    if (!help_->isVisible())
        rememberFocus();
    help_->show();
    help_->raise();
    help_->activateWindow();
}

frmConvert *frmMain::convertWindow() const { return convert_; }
frmPost *frmMain::postWindow() const { return post_; }
frmHelp *frmMain::helpWindow() const { return help_; }
