// The commands beyond the control panel, declared once each, and what they do; the program's
// other windows as this one opens them.
#include "frmMain.h"

#include "app.h"

#include "commands/frmHelp.h"
#include "convert/frmConvert.h"
#include "convert/underlayControl.h"
#include "dotImage.h"
#include "dotPicture.h"
#include "editing/colourMode.h"
#include "editing/transforms.h"
#include "keeping/fileKeeper.h"
#include "offers/Offers.h"
#include "offers/pictureOffer.h"
#include "result/dotText.h"
#include "result/frmPost.h"
#include "result/textIntake.h"
#include "sizeEntry.h"
#include "toolkit/FocusReturn.h"
#include "toolkit/MsgBox.h"
#include "toolkit/PictureBox.h"
#include "toolkit/TextBox.h"
#include "version.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>


std::vector<CommandList::Declaration> frmMain::declarations()
{
    using C = CommandList;
    using N = C::Needs;
    using P = C::Place;
    using K = QKeySequence;
    using Check = C::Declaration::Check;
    const auto run = [this](void (frmMain::*slot)()) { return [this, slot](bool) { (this->*slot)(); }; };
    const auto tool = [this](CanvasEditor::Tool t) { return [this, t](bool) { editor_->setTool(t); }; };
    const auto flip = [this](const char *name, QImage (*f)(const QImage &), bool turns = false) {
        return [this, name, f, turns](bool) { transform(tr(name), f, turns); };
    };
    const auto shift = [this](int dx, int dy) {
        return [this, dx, dy](bool) { transform(tr("ずらす"), [dx, dy](const QImage &p) { return transforms::shifted(p, dx, dy); }); };
    };
    std::vector<C::Declaration> d = {
        {C::Undo, QT_TRANSLATE_NOOP("commands", "元に戻す"), {K(Qt::CTRL | Qt::Key_Z)}, P::History, N::UndoStep, Check::None, [this](bool) { step(true); }},
        {C::Redo, QT_TRANSLATE_NOOP("commands", "やり直す"), {K(Qt::CTRL | Qt::Key_Y), K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}, P::History, N::RedoStep, Check::None, [this](bool) { step(false); }},
        {C::Copy, QT_TRANSLATE_NOOP("commands", "テキストをコピー"), {K(Qt::CTRL | Qt::Key_C)}, P::Text, N::Nothing, Check::None, run(&frmMain::copyText)},
        {C::Cut, QT_TRANSLATE_NOOP("commands", "選んだ範囲を切り取る"), {K(Qt::CTRL | Qt::Key_X)}, P::Text, N::Selection, Check::None, run(&frmMain::cutText)},
        {C::Paste, QT_TRANSLATE_NOOP("commands", "貼り付け（画像は下絵、絵の文字は絵に）"), {K(Qt::CTRL | Qt::Key_V)}, P::Text, N::Nothing, Check::None, run(&frmMain::paste)},
        {C::Post, QT_TRANSLATE_NOOP("commands", "投稿用テキスト..."), {K(Qt::CTRL | Qt::Key_E)}, P::Text, N::Nothing, Check::None, run(&frmMain::showPost)},
        {C::Save, QT_TRANSLATE_NOOP("commands", "絵を保存"), {K(Qt::CTRL | Qt::Key_S)}, P::File, N::Nothing, Check::None, [this](bool) { keeper_->save(false); }},
        {C::SaveAs, QT_TRANSLATE_NOOP("commands", "名前を付けて絵を保存..."), {K(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}, P::File, N::Nothing, Check::None, [this](bool) { keeper_->save(true); }},
        {C::Open, QT_TRANSLATE_NOOP("commands", "絵を開く..."), {K(Qt::CTRL | Qt::Key_O)}, P::File, N::Nothing, Check::None, [this](bool) { keeper_->open(); }},
        {C::OpenLast, QT_TRANSLATE_NOOP("commands", "前回の絵を開く"), {K(Qt::CTRL | Qt::SHIFT | Qt::Key_O)}, P::File, N::Nothing, Check::None, [this](bool) { keeper_->openLast(*recovery_); }},
        {C::Convert, QT_TRANSLATE_NOOP("commands", "下絵から点を打つ..."), {K(Qt::CTRL | Qt::Key_T)}, P::Convert, N::Underlay, Check::None, run(&frmMain::showConvert)},
        {C::PlaceAsLoaded, QT_TRANSLATE_NOOP("commands", "下絵をそのまま置く"), {K(Qt::CTRL | Qt::Key_1)}, P::Placement, N::Nothing, Check::Group, [this](bool) { underlay_->setPlacement(Placement::AsLoaded); }},
        {C::PlaceFitted, QT_TRANSLATE_NOOP("commands", "下絵をキャンバスに合わせる"), {K(Qt::CTRL | Qt::Key_2)}, P::Placement, N::Nothing, Check::Group, [this](bool) { underlay_->setPlacement(Placement::Fitted); }},
        {C::PlaceFilled, QT_TRANSLATE_NOOP("commands", "下絵でキャンバスを覆う"), {K(Qt::CTRL | Qt::Key_3)}, P::Placement, N::Nothing, Check::Group, [this](bool) { underlay_->setPlacement(Placement::Filled); }},
        {C::UnderlayStrength, QT_TRANSLATE_NOOP("commands", "下絵を薄く表示（100%）"), {K(Qt::Key_U)}, P::Convert, N::Nothing, Check::Toggle, [this](bool) { underlay_->cycleStrength(); }},
        {C::Invert, QT_TRANSLATE_NOOP("commands", "白黒反転"), {K(Qt::CTRL | Qt::Key_I)}, P::Picture, N::Dots, Check::None, flip(QT_TRANSLATE_NOOP("frmMain", "白黒反転"), transforms::inverted)},
        {C::FlipLeftRight, QT_TRANSLATE_NOOP("commands", "左右反転"), {K(Qt::SHIFT | Qt::Key_H)}, P::Picture, N::Dots, Check::None, flip(QT_TRANSLATE_NOOP("frmMain", "左右反転"), transforms::flippedLeftRight)},
        {C::FlipTopBottom, QT_TRANSLATE_NOOP("commands", "上下反転"), {K(Qt::SHIFT | Qt::Key_V)}, P::Picture, N::Dots, Check::None, flip(QT_TRANSLATE_NOOP("frmMain", "上下反転"), transforms::flippedTopBottom)},
        {C::TurnClockwise, QT_TRANSLATE_NOOP("commands", "右に90度回す"), {K(Qt::CTRL | Qt::Key_R)}, P::Picture, N::Dots, Check::None, flip(QT_TRANSLATE_NOOP("frmMain", "右に90度回す"), transforms::turnedClockwise, true)},
        {C::TurnAnticlockwise, QT_TRANSLATE_NOOP("commands", "左に90度回す"), {K(Qt::CTRL | Qt::SHIFT | Qt::Key_R)}, P::Picture, N::Dots, Check::None, flip(QT_TRANSLATE_NOOP("frmMain", "左に90度回す"), transforms::turnedAnticlockwise, true)},
        {C::ShiftLeft, QT_TRANSLATE_NOOP("commands", "左へ1ドットずらす"), {K(Qt::CTRL | Qt::Key_Left)}, P::Shift, N::Dots, Check::None, shift(-1, 0)},
        {C::ShiftRight, QT_TRANSLATE_NOOP("commands", "右へ1ドットずらす"), {K(Qt::CTRL | Qt::Key_Right)}, P::Shift, N::Dots, Check::None, shift(1, 0)},
        {C::ShiftUp, QT_TRANSLATE_NOOP("commands", "上へ1ドットずらす"), {K(Qt::CTRL | Qt::Key_Up)}, P::Shift, N::Dots, Check::None, shift(0, -1)},
        {C::ShiftDown, QT_TRANSLATE_NOOP("commands", "下へ1ドットずらす"), {K(Qt::CTRL | Qt::Key_Down)}, P::Shift, N::Dots, Check::None, shift(0, 1)},
        {C::Pen, QT_TRANSLATE_NOOP("commands", "ペン"), {K(Qt::Key_B)}, P::Tools, N::Nothing, Check::Group, tool(CanvasEditor::Tool::Pen)},
        {C::Fill, QT_TRANSLATE_NOOP("commands", "塗りつぶし"), {K(Qt::Key_G)}, P::Tools, N::Nothing, Check::Group, tool(CanvasEditor::Tool::Fill)},
        {C::Line, QT_TRANSLATE_NOOP("commands", "直線"), {K(Qt::Key_L)}, P::Tools, N::Nothing, Check::Group, tool(CanvasEditor::Tool::Line)},
        {C::Rectangle, QT_TRANSLATE_NOOP("commands", "四角"), {K(Qt::Key_R)}, P::Tools, N::Nothing, Check::Group, tool(CanvasEditor::Tool::Rectangle)},
        {C::FilledRectangle, QT_TRANSLATE_NOOP("commands", "四角（塗りつぶし）"), {K(Qt::SHIFT | Qt::Key_R)}, P::Tools, N::Nothing, Check::Group, tool(CanvasEditor::Tool::FilledRectangle)},
        {C::Ellipse, QT_TRANSLATE_NOOP("commands", "楕円"), {K(Qt::Key_O)}, P::Tools, N::Nothing, Check::Group, tool(CanvasEditor::Tool::Ellipse)},
        {C::FilledEllipse, QT_TRANSLATE_NOOP("commands", "楕円（塗りつぶし）"), {K(Qt::SHIFT | Qt::Key_O)}, P::Tools, N::Nothing, Check::Group, tool(CanvasEditor::Tool::FilledEllipse)},
        {C::Selection, QT_TRANSLATE_NOOP("commands", "範囲選択"), {K(Qt::Key_S)}, P::Tools, N::Nothing, Check::Group, tool(CanvasEditor::Tool::Selection)},
        {C::SmoothCorners, QT_TRANSLATE_NOOP("commands", "角を整える"), {}, P::Tools, N::Nothing, Check::Toggle, [this](bool on) { editor_->setSmoothCorners(on); }},
        {C::Colour, QT_TRANSLATE_NOOP("commands", "カラー（絵文字）"), {K(Qt::CTRL | Qt::Key_K)}, P::Colours, N::Nothing, Check::Toggle, [this](bool on) { colour_->set(on); }},
    };
    for (int i = 0; i < 9; ++i)
        d.push_back({C::Id(C::Square1 + i), dots::kSquares[size_t(i)].name, {K(Qt::Key_1 + i)}, P::Colours, N::ColourPicture,
                     Check::Group, [this, i](bool) { colour_->choose(i); }});
    d.push_back({C::Mirror, QT_TRANSLATE_NOOP("commands", "ミラー描画（左右対称に描く）"), {K(Qt::Key_M)}, P::Drawing, N::Nothing, Check::Toggle,
                 [this](bool on) { editor_->setMirror(on); }});
    // Each language named in itself; the choice holds from the next start.
    d.push_back({C::LanguageJapanese, QT_TRANSLATE_NOOP("commands", "日本語"), {}, P::Language, N::Nothing, Check::Group,
                 [this](bool on) { chooseUiLanguage(this, on, QStringLiteral("ja")); }});
    d.push_back({C::LanguageEnglish, QT_TRANSLATE_NOOP("commands", "English"), {}, P::Language, N::Nothing, Check::Group,
                 [this](bool on) { chooseUiLanguage(this, on, QStringLiteral("en")); }});
    d.push_back({C::Help, QT_TRANSLATE_NOOP("commands", "キーと操作の一覧"), {K(Qt::Key_F1)}, P::End, N::Nothing, Check::None, run(&frmMain::showHelp)});
    d.push_back({C::Quit, QT_TRANSLATE_NOOP("commands", "終了"), {K(Qt::CTRL | Qt::Key_Q)}, P::End, N::Nothing, Check::None, [this](bool) { close(); }});
    return d;
}

void frmMain::updateActions()
{
    if (!commands_)
        return;
    commands_->updateStates([this](CommandList::Needs n) { return has(n); });
    setWindowTitle(keeper_ ? keeper_->title() : programCaption());
    setWindowModified(keeper_ && keeper_->changedSince(entrySize() ? std::optional<QImage>(dotTextPicture(*picture_, *entrySize())) : std::nullopt));
}

bool frmMain::has(CommandList::Needs needs) const
{
    switch (needs) {
    case CommandList::Needs::Nothing: return true;
    case CommandList::Needs::UndoStep: return history_->stack()->canUndo();
    case CommandList::Needs::RedoStep: return history_->stack()->canRedo();
    // Ctrl+T right after a picture was given waits for it.
    case CommandList::Needs::Underlay: return underlay_->loaded() || underlay_->busy();
    case CommandList::Needs::Dots: return !picture_->size().isEmpty();
    case CommandList::Needs::Selection: return editor_->selection().has_value();
    case CommandList::Needs::ColourPicture: return colour_->on();
    }
    return false;
}

void frmMain::step(bool back)
{
    // Not in the middle of a stroke or a shape: the step it will become is not there yet.
    if (editor_->busy())
        return;
    editor_->dropSelection();
    back ? history_->undo() : history_->redo();
    editor_->pictureReplaced();
}

std::optional<QImage> frmMain::textPicture()
{
    const std::optional<QSize> size = entrySize();
    if (!size) {
        MsgBox(this, invalidSizeMessage());
        return std::nullopt;
    }
    return dotTextPicture(*picture_, *size);
}

void frmMain::copyText()
{
    // With a selection, its rows alone.
    if (editor_->selection()) {
        QGuiApplication::clipboard()->setText(pictureText(editor_->selectedPart(), colour_->on()));
        return;
    }
    if (const std::optional<QImage> picture = textPicture())
        QGuiApplication::clipboard()->setText(pictureText(*picture, colour_->on()));
}

void frmMain::cutText()
{
    if (!editor_->selection() || editor_->busy())
        return;
    copyText();
    editor_->clearSelection(tr("切り取り"));
}

void frmMain::paste()
{
    if (editor_->busy())
        return;
    const std::unique_ptr<OfferSource> offer = clipboardOffer();
    takeOffer(*offer, tr("クリップボード"), tr("クリップボードの画像"));
}

void frmMain::takeOffer(OfferSource &source, const QString &owner, const QString &unnamed)
{
    takeOfferInto(source, QSize(kLargestCanvas, kLargestCanvas), owner, unnamed,
                  {this, [this](const QString &text) { return takeDotText(text) != TextTaken::NotDotText; },
                   [](const QString &path) { return !FileKeeper::isUnderlayPicture(path); },
                   [this](const QString &path) { keeper_->openFile(path); },
                   [this](const PictureRequest &request, const QString &name) { underlay_->loadAndShow(request, name); }});
}

frmMain::TextTaken frmMain::takeDotText(const QString &text, bool opened)
{
    const TakenText taken = takePictureText(this, text, opened, post_);
    if (taken.kind != TakenText::Picture)
        return TextTaken(int(taken.kind));
    // With the selection tool, a picture that fits is a part to move and drop.
    if (!opened && editor_->tool() == CanvasEditor::Tool::Selection && taken.dots.width() <= picture_->width()
        && taken.dots.height() <= picture_->height()) {
        editor_->placePart(taken.dots);
        return TextTaken::Picture;
    }
    takePicture(taken.dots, opened ? tr("絵を開く") : tr("テキストの貼り付け"));
    return TextTaken::Picture;
}

void frmMain::takePicture(const QImage &dots, const QString &name)
{
    // The size and the dots together, one step: undoing it gives back both.
    if (editor_->busy())
        return;
    editor_->dropSelection();
    // A picture in colour is shown and written in colour.
    if (!colour_->on() && hasColour(dots))
        colour_->set(true);
    history_->replace(name, dots, SizeTexts{QString::number(dots.width()), QString::number(dots.height())});
    editor_->pictureReplaced();
}

void frmMain::transform(const QString &name, const std::function<QImage(const QImage &)> &change, bool turns)
{
    const std::optional<QImage> shown = textPicture();
    if (!shown)
        return;
    // The picture as shown, at the fields' size, is all a change of the whole acts on; what a
    // smaller size hid goes with it, and comes back with an undo.
    if (!editor_->selection() && shown->size() != picture_->size())
        drawAt(shown->size());
    const bool whole = !editor_->selection();
    editor_->transform(name, change, turns, SizeTexts{txtWidth->text(), txtHeight->text()});
    if (whole)
        editor_->pictureReplaced();
}

void frmMain::showHelp()
{
    if (!help_) {
        QList<CommandList::Row> more = frmHelp::canvasRows();
        for (const auto &[keys, what] : frmConvert::keyRows())
            more.append({keys, what});
        help_ = new frmHelp(commands_->helpRows(more));
        help_->installEventFilter(this);
    }
    focus_->present(help_);
}

frmConvert *frmMain::convertWindow() const { return underlay_->convertWindow(); }
frmPost *frmMain::postWindow() const { return post_; }
frmHelp *frmMain::helpWindow() const { return help_; }
frmPalette *frmMain::paletteWindow() const { return colour_->palette(); }

void frmMain::setConverting(bool on)
{
    // The window is not modal, so that the canvas can frame the underlay; nothing else of
    // this window takes input meanwhile. The keyboard goes back where it was.
    if (on) {
        focus_->remember();
        editor_->dropSelection();
        beforeConvert_ = history_->now();
    }
    Frame1->setEnabled(!on);
    picPreview->setEnabled(!on);
    commands_->setAllEnabled(!on);
    if (on)
        return;
    updateActions();
    commands_->nameSteps(history_->undoName(), history_->redoName());
}

void frmMain::showConvert()
{
    // The dots are made at the size the fields give.
    if (const std::optional<QImage> picture = textPicture(); picture && !editor_->busy()) {
        if (!underlay_->convertWindow())
            drawAt(picture->size());
        underlay_->showConvert();
    }
}

void frmMain::showPost()
{
    const std::optional<QImage> picture = textPicture();
    if (!picture)
        return;
    if (!post_) {
        post_ = new frmPost(nullptr);
        post_->installEventFilter(this);
    }
    // The picture first, so that the window opens as large as its text and counts need.
    post_->setPicture(*picture, colour_->on());
    focus_->present(post_);
}

void frmMain::refreshPost()
{
    // The posting window follows the picture while it is open, as the result window's text
    // follows the size fields; during a drag, once for however many dots one event brings.
    if (post_)
        post_->follow([this] { return dotTextPicture(*picture_, entrySize().value_or(picture_->size())); }, colour_->on(),
                      editor_->busy());
}
