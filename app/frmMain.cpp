#include "frmMain.h"

#include "commands/frmHelp.h"
#include "convert/frmConvert.h"
#include "convert/underlayControl.h"
#include "convert/underlayLoading.h"
#include "dotPicture.h"
#include "editing/canvasView.h"
#include "editing/colourMode.h"
#include "editing/frmPalette.h"
#include "keeping/fileKeeper.h"
#include "keeping/recovery.h"
#include "mainLayout.h"
#include "offers/Offers.h"
#include "offers/boundedPaste.h"
#include "offers/pictureOffer.h"
#include "result/frmPost.h"
#include "result/frmResult.h"
#include "toolkit/FocusReturn.h"
#include "toolkit/MsgBox.h"
#include "toolkit/PictureBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/Twips.h"
#include "toolkit/WindowFrame.h"
#include "version.h"

#include <QCoreApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QLocale>
#include <QDragEnterEvent>
#include <QGroupBox>
#include <QMimeData>
#include <QPushButton>
#include <QShortcutEvent>
#include <QTimer>


frmMain::frmMain(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(programCaption());
    picture_ = new DotPicture(this);
    layOutMainWindow(*this);
    history_ = new PictureHistory(picture_, txtWidth, txtHeight, this);
    editor_ = new CanvasEditor(picture_, history_, this);
    colour_ = new ColourMode(this, picture_, history_, editor_);
    focus_ = std::make_unique<FocusReturn>(this, picDot);
    view_ = new CanvasView(picture_, picDot, picPreview, picTrace, this);
    // Before the first redraw fits the window: its outer size is right when it first shows.
    askFrameBeforeShowing(this);
    connectHandlers();
    describeMainWindow(*this);
    picDot->setAccessibleValue([this] { return view_->cursorValue(editor_->cursor()); });
    // Every text box of the program's windows pastes through the bounded reader.
    BoundedPasting::install([](QWidget *window, const QString &message) { MsgBox(window, message); });
    Form_Load();
}

frmMain::~frmMain()
{
    // A normal end: the picture becomes the last program's, and this program's copy goes.
    recovery_->endNormally();
    // The controls are destroyed after this window's own part, and losing the focus or a
    // toggle on the way out signals: nothing may call back into the part already gone.
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
    picture_->disconnect();
    history_->disconnect();
    editor_->disconnect();
    picDot->setAccessibleValue(nullptr);
    picDot->setKeyHandler(nullptr);
    // A picture still being read is stopped, and nothing it gave reaches this window.
    delete underlay_;
    underlay_ = nullptr;
    // The other windows read this one; none may outlive it, and none tells this one, half
    // gone, that it closed.
    for (QWidget *other : std::initializer_list<QWidget *>{post_, help_})
        if (other)
            other->removeEventFilter(this);
    delete result_.data();
    delete post_.data();
    delete help_.data();
    delete colour_;
    colour_ = nullptr;
}

void frmMain::connectHandlers()
{
    connect(optSizeGroup, &QButtonGroup::idClicked, this, &frmMain::optSize_Click);
    connect(chkBar, &QCheckBox::clicked, this, &frmMain::chkBar_Click);
    connect(cmdCanvas, &QPushButton::clicked, this, &frmMain::cmdCanvas_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmMain::cmdClear_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmMain::cmdOK_Click);
    connect(chkTrace, &QPushButton::clicked, this, &frmMain::chkTrace_Click);
    connect(picPreview, &PictureBox::clicked, this, &frmMain::picPreview_Click);
    connect(picDot, &PictureBox::mouseDown, this, &frmMain::picDot_MouseDown);
    connect(picDot, &PictureBox::mouseMove, this, &frmMain::picDot_MouseMove);
    connect(picDot, &PictureBox::mouseUp, this, &frmMain::picDot_MouseUp);
    connect(picDot, &PictureBox::wheel, this,
            [this](int delta, float x, float y) { underlay_->canvasMouse(QEvent::Wheel, 0, QPointF(x, y), delta); });
    txtWidth->setKeyPressHandler([this](qint16 &k) { txtWidth_KeyPress(k); });
    txtHeight->setKeyPressHandler([this](qint16 &k) { txtHeight_KeyPress(k); });
    // Enter in a size field applies the size, as 再描画 does (the digit filter keeps the
    // character itself out of the field).
    for (TextBox *t : {txtWidth, txtHeight})
        connect(t, &TextBox::enterPressed, this, &frmMain::cmdCanvas_Click);
    picDot->setKeyHandler([this](int key, int shift, bool down, bool repeated) { return canvasKey(key, shift, down, repeated); });
    // The focus is shown where it went; a keyboard stroke cannot go on without it.
    connect(picDot, &PictureBox::focusLeft, editor_, &CanvasEditor::focusLost);
    connect(view_, &CanvasView::cursorShown, this, &frmMain::showMarks);

    // The picture: the canvas, the true-size picture, the posting window, the recovery copy
    // and the commands' states follow it.
    connect(view_, &CanvasView::redrawNeeded, this, [this] { drawAt(picture_->size()); });
    connect(picture_, &DotPicture::changed, this, [this](QRect dots) {
        refreshPost();
        if (dots.contains(editor_->cursor()))
            picDot->accessibleValueChanged();
    });
    connect(chkTrace, &QPushButton::toggled, view_, &CanvasView::setUnderlay);
    connect(picture_, &DotPicture::resized, editor_, &CanvasEditor::pictureReplaced);
    connect(editor_, &CanvasEditor::marksChanged, this, &frmMain::showMarks);
    connect(editor_, &CanvasEditor::selectionChanged, this, &frmMain::updateActions);
    connect(colour_, &ColourMode::switched, this, [this](bool on) {
        commands_->action(CommandList::Colour)->setChecked(on);
        updateActions();
        refreshPost();
    });
    connect(colour_, &ColourMode::chosen, this,
            [this](int square) { commands_->action(CommandList::Id(CommandList::Square1 + square))->setChecked(true); });
    connect(editor_, &CanvasEditor::toolChanged, this, [this](CanvasEditor::Tool tool) {
        commands_->action(CommandList::Id(CommandList::Pen + int(tool)))->setChecked(true);
        view_->showTool(int(tool));
    });

    // Every command beyond the panel, in the panel's context menu (the canvas keeps its
    // right button for painting).
    commands_ = new CommandList(this, declarations());
    // The language the window is in now.
    commands_->action(QLocale().language() == QLocale::English ? CommandList::LanguageEnglish : CommandList::LanguageJapanese)
        ->setChecked(true);
    connect(history_, &PictureHistory::stepsChanged, this, [this] {
        commands_->nameSteps(history_->undoName(), history_->redoName());
        updateActions();
    });
    // The underlay, and the conversion from it; its reading's panel below the control panel,
    // over the true-size picture.
    UnderlayControl::Window control{this, picDot, picTrace, picture_};
    control.redraw = [this] { drawAt(picture_->size()); };
    control.preview = [this](const QImage &dots) {
        view_->hold(true);
        picture_->become(dots);
        view_->hold(false);
        drawAt(picture_->size());
    };
    control.switchOn = [this] {
        chkTrace->setChecked(true);
        Draw();
    };
    for (const CommandList::Id id : {CommandList::PlaceAsLoaded, CommandList::PlaceFitted, CommandList::PlaceFilled})
        control.placements[id - CommandList::PlaceAsLoaded] = commands_->action(id);
    control.strength = commands_->action(CommandList::UnderlayStrength);
    control.converting = [this](bool on) { setConverting(on); };
    control.ended = [this](bool keep) {
        if (keep && !colour_->on() && picture_->hasColour())
            colour_->set(true);
        if (beforeConvert_ && keep)
            history_->keep(tr("下絵から点を打つ"), *beforeConvert_);
        else if (beforeConvert_)
            history_->putBack(*beforeConvert_);
        beforeConvert_.reset();
        drawAt(picture_->size());
        focus_->giveBack();
    };
    control.dotSize = [this] { return DotSize; };
    underlay_ = new UnderlayControl(control, QRect(0, twipsToPixels(4875), twipsToPixels(1215), twipsToPixels(900)));
    underlay_->setParent(this);
    underlay_->loading()->setPanelFont(Frame1->font());
    connect(underlay_, &UnderlayControl::changed, this, &frmMain::updateActions);
    recovery_ = std::make_unique<Recovery>(recoveryFolder(), picture_);
    keeper_ = std::make_unique<FileKeeper>(FileKeeper::Window{
        this, [this] { return textPicture(); },
        [this](const QImage &dots, const QString &name) { takePicture(dots, name); },
        [this](const QString &text) { return FileKeeper::Window::Text(int(takeDotText(text, true))); },
        [this] { updateActions(); }, [this] { return colour_->on(); }});
    connect(recovery_.get(), &Recovery::cannotWrite, this, [this](const QString &folder) { keeper_->tellCannotKeep(folder); });
    Frame1->installEventFilter(this);
    for (QWidget *control : Frame1->findChildren<QWidget *>())
        if (control != txtWidth && control != txtHeight)
            control->installEventFilter(this);
    setAcceptDrops(true);
}

void frmMain::whenShown(std::function<void()> then) { whenShown_ = std::move(then); }

bool frmMain::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Paint:
        // Painted: on the screen, where it was placed. The rest runs once this paint is done.
        if (whenShown_)
            QTimer::singleShot(0, this, [then = std::exchange(whenShown_, nullptr)] { then(); });
        break;
    case QEvent::Move:
    case QEvent::Resize:
        // The window manager's frame became known, or changed, after the window was
        // fitted: fitted again, the outer size is the canvas's formula once more.
        if (isVisible() && frameOf(this) != fittedFrame_)
            fitWindow();
        break;
    case QEvent::WindowActivate:
        // While the result window is open this window only waits for it: a click here
        // brings that window to the front instead of hiding it behind this one.
        raiseResult();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // A conversion under way is given up: the picture as it was before it.
    if (frmConvert *convert = underlay_->convertWindow())
        convert->reject();
    // The window system may still offer to close a disabled window; the result window
    // holds the main window disabled and must be closed first.
    if (raiseResult()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
    // The program ends with this window: none of its other windows keeps it going alone.
    for (QWidget *other : std::initializer_list<QWidget *>{post_, help_, static_cast<QWidget *>(colour_->palette())})
        if (other)
            other->close();
}

bool frmMain::raiseResult()
{
    if (!result_ || !result_->isLoaded())
        return false;
    result_->raise();
    result_->activateWindow();
    return true;
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    // x10, x11 and x12 share Alt+1, which moves among them: to a button that takes no focus
    // by a click, the focus is given here.
    if (event->type() == QEvent::Shortcut && static_cast<QShortcutEvent *>(event)->isAmbiguous())
        if (auto *button = qobject_cast<QPushButton *>(watched); button && button->focusPolicy() == Qt::NoFocus)
            button->setFocus(Qt::ShortcutFocusReason);
    // The posting and help windows close by hiding.
    if (event->type() == QEvent::Hide && (watched == post_ || watched == help_)) {
        focus_->giveBack();
        return false;
    }
    if (event->type() == QEvent::ContextMenu && watched->isWidgetType()) {
        auto *menu = static_cast<QContextMenuEvent *>(event);
        commands_->popUpMenu(static_cast<QWidget *>(watched), menu->globalPos());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// Whether a drag is welcome is told from its list of types alone: asking the drag source
// for its data on every move would wait on it for every move.
void frmMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData() && offersSomething(event->mimeData()->formats()))
        event->acceptProposedAction();
}

void frmMain::dragMoveEvent(QDragMoveEvent *event)
{
    if (event->mimeData() && offersSomething(event->mimeData()->formats()))
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent *event)
{
    event->acceptProposedAction();
    const std::unique_ptr<OfferSource> offer = dropOffer(event->mimeData(), event->source() != nullptr);
    takeOffer(*offer, QCoreApplication::translate("frmMain", "ドラッグ元"), QCoreApplication::translate("frmMain", "ドロップされた画像"));
}
