#include "frmMain.h"

#include "commands/commandList.h"
#include "commands/frmHelp.h"
#include "convert/frmConvert.h"
#include "convert/underlayLoading.h"
#include "editing/stroke.h"
#include "editing/pictureHistory.h"
#include "offers/pictureOffer.h"
#include "sizeEntry.h"
#include "result/frmPost.h"
#include "result/frmResult.h"
#include "offers/Offers.h"
#include "offers/boundedPaste.h"
#include "keeping/recovery.h"
#include "toolkit/MsgBox.h"
#include "toolkit/PictureBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/Twips.h"
#include "toolkit/WindowFrame.h"

#include <QApplication>
#include <QButtonGroup>
#include <QTimer>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QShortcutEvent>

namespace {

// Places a control by its layout position and size in twips.
void place(QWidget *w, int left, int top, int width, int height)
{
    w->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                   twipsToPixels(height));
}

// The font the panel's fixed layout is drawn for: the desktop's user-interface font at 9
// points.
QFont panelFont(QFont font)
{
    font.setPointSize(9);
    return font;
}

// A pressed toggle button differs only slightly in shade in most styles; bold type makes
// the chosen magnification and an active underlay plain at a glance.
void showPressedBold(QPushButton *button)
{
    QObject::connect(button, &QPushButton::toggled, button, [button](bool on) {
        QFont f = button->font();
        f.setBold(on);
        button->setFont(f);
    });
}

PictureBox *pictureSurface(QWidget *parent)
{
    auto *box = new PictureBox(parent);
    // A black dot is stored as exactly 0 and a white one as white whatever the desktop's
    // colours, so that the text never depends on the colour scheme.
    box->setBackColor(kWhite);
    box->setForeColor(kBlack);
    return box;
}

} // namespace

frmMain::frmMain(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("GRIDGLYPH Ver. 1.10"));
    buildLayout();
    // Before the first redraw fits the window: its outer size is right when it first shows.
    askFrameBeforeShowing(this);
    history_ = std::make_unique<PictureHistory>(
        picPreview, [this] { return std::make_pair(txtWidth->text(), txtHeight->text()); },
        [this](const PictureState &state, bool withSize) {
            picPreview->restoreStore(state.store);
            if (withSize) {
                txtWidth->setText(state.width);
                txtHeight->setText(state.height);
            }
            stroke_->forgetLastPainted();
            // A step that set the size puts the size back with it; any other shows the
            // picture as it was, without reading the fields.
            const std::optional<QSize> size = sizeOf(state.width, state.height);
            drawAt(withSize && size ? *size : pictureSize());
        });
    stroke_ = std::make_unique<Stroke>([this](int button, QPoint dot) { strokePaint(button, dot); },
                                       history_.get());
    connectHandlers();
    describeForAssistiveTechnology();
    // Every text box of the program's windows pastes through the bounded reader.
    BoundedPasting::install([](QWidget *window, const QString &message) { MsgBox(window, message); });
    Form_Load();
}

frmMain::~frmMain()
{
    // A normal end: the picture becomes the last program's, and this program's copy goes.
    recovery_->endNormally();
    history_->setChanged(nullptr);
    // The controls are destroyed after this window's own part, and losing the focus or a
    // toggle on the way out signals: nothing may call back into the part already gone.
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
    picDot->setAccessibleValue(nullptr);
    picDot->setKeyHandler(nullptr);
    // A picture still being read is stopped, and nothing it gave reaches this window.
    delete loading_;
    loading_ = nullptr;
    // The other windows read this one; none may outlive it, and none tells this one, half
    // gone, that it closed.
    for (QWidget *other : std::initializer_list<QWidget *>{post_, help_})
        if (other)
            other->removeEventFilter(this);
    delete result_.data();
    delete convert_.data();
    delete post_.data();
    delete help_.data();
}

void frmMain::buildLayout()
{
    resize(twipsToPixels(7980), twipsToPixels(5760));

    picDot = pictureSurface(this);
    place(picDot, 1320, 120, 5535, 4815);
    picDot->setFocusPolicy(Qt::StrongFocus);
    // Moves without a button arrive too, so that a stroke whose release was lost ends.
    picDot->setMouseTracking(true);
    picDot->setObjectName(QStringLiteral("picDot"));

    Frame1 = new QGroupBox(QStringLiteral("コントロール"), this);
    place(Frame1, 0, 0, 1215, 4815);
    // The panel is laid out for the 9-point user-interface font: at that size whatever the
    // desktop's default, so that no caption is ever cut (an 11-point desktop font cut
    // "コントロール" and every button's key).
    Frame1->setFont(panelFont(font()));
    // A classic frame: its border line runs through the middle of the caption, which is
    // inset from the left edge, and every control the layout places lies inside it. (The
    // style's own group box puts the line below the caption, above the top buttons.)
    const int half = Frame1->fontMetrics().height() / 2;
    Frame1->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 3px; margin-top: %1px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 6px; padding: 0 2px; }").arg(half));

    optSizeGroup = new QButtonGroup(this);
    optSizeGroup->setExclusive(true);
    for (int i = 0; i < 12; ++i) {
        auto *b = new QPushButton(QStringLiteral("x&%1").arg(i + 1), Frame1);
        b->setCheckable(true);
        // Two columns of six, x1 to x6 on the left, each row 360 twips below the last.
        place(b, i < 6 ? 120 : 600, 240 + 360 * (i % 6), 495, 375);
        optSizeGroup->addButton(b, i);
        showPressedBold(b);
        // Arrow keys move between the buttons of the group, whatever their focus policy.
        b->setAutoExclusive(true);
        optSize[i] = b;
    }
    optSize[0]->hide();
    // The group is one stop of the tab order, on the selected button; the arrow keys
    // choose among the others. A click never takes the keyboard from the canvas: the arrows
    // and Space go on painting after a click on any button of the panel.
    connect(optSizeGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        optSize[size_t(id)]->setFocusPolicy(checked ? Qt::TabFocus : Qt::NoFocus);
    });
    optSize[11]->setChecked(true);

    txtWidth = new TextBox(Frame1);
    txtWidth->setMaxLength(2);
    txtWidth->setText(QStringLiteral("32"));
    place(txtWidth, 120, 2520, 375, 270);

    lblString = new QLabel(QStringLiteral("×"), Frame1);
    lblString->setAlignment(Qt::AlignCenter);
    place(lblString, 525, 2580, 180, 180);

    txtHeight = new TextBox(Frame1);
    txtHeight->setMaxLength(2);
    txtHeight->setText(QStringLiteral("32"));
    place(txtHeight, 720, 2520, 375, 270);

    for (TextBox *t : {txtWidth, txtHeight}) {
        t->setAlignment(Qt::AlignRight);
        // A picture dropped here is an underlay, as anywhere else in the window.
        t->setAcceptDrops(false);
        // The frame of a line edit would leave no room for two digits in 25 pixels.
        t->setTextMargins(0, 0, 0, 0);
    }

    chkBar = new QCheckBox(QStringLiteral("格子(&L)"), Frame1);
    chkBar->setChecked(true);
    place(chkBar, 120, 2880, 975, 255);

    cmdCanvas = new QPushButton(QStringLiteral("再描画(&R)"), Frame1);
    place(cmdCanvas, 120, 3240, 975, 375);
    cmdClear = new QPushButton(QStringLiteral("全消去(&C)"), Frame1);
    place(cmdClear, 120, 3600, 975, 375);
    cmdClear->setToolTip(QStringLiteral("絵を全部消します。Ctrl+Z で元に戻せます。"));
    chkTrace = new QPushButton(QStringLiteral("下絵(&T)"), Frame1);
    chkTrace->setCheckable(true);
    showPressedBold(chkTrace);
    place(chkTrace, 120, 3960, 975, 375);
    chkTrace->setToolTip(QStringLiteral("なぞる画像を開きます。画像ファイルをウィンドウにドロップするか、"
                                        "Ctrl+V で貼り付けても下絵になります。"));
    cmdOK = new QPushButton(QStringLiteral("(´ω｀)&b"), Frame1);
    place(cmdOK, 120, 4320, 975, 375);
    cmdOK->setToolTip(QStringLiteral("絵を■と□の文字で表示します。Ctrl+C でウィンドウを開かずにコピーできます。"));

    picPreview = pictureSurface(this);
    place(picPreview, 120, 4920, 720, 720);
    picPreview->setFocusPolicy(Qt::StrongFocus);
    picPreview->setKeepsHiddenArea(true);

    picTrace = pictureSurface(this);
    place(picTrace, 6960, 2400, 900, 1005);
    picTrace->setSurfaceSize(twipsToPixels(900), twipsToPixels(1005));
    picTrace->setKeepsHiddenArea(true);
    picTrace->hide();
    picTrace->setFocusPolicy(Qt::NoFocus);

    // Tab order of the layout: canvas first, so it also has the focus at start.
    QWidget *order[] = {picDot, optSize[1], optSize[2], optSize[3], optSize[4], optSize[5],
                        txtWidth, optSize[6], optSize[7], txtHeight, cmdCanvas, picPreview,
                        chkBar, optSize[8], optSize[9], optSize[10], optSize[11], cmdClear,
                        cmdOK, chkTrace};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    // Every control of the panel at the panel's size: a desktop's font for buttons or check
    // boxes would otherwise be taken over it.
    for (QWidget *control : Frame1->findChildren<QWidget *>()) {
        QFont f = Frame1->font();
        f.setBold(control->font().bold());
        control->setFont(f);
    }
    // Set after the order, which leaves out what takes no focus at all.
    for (QWidget *w : std::initializer_list<QWidget *>{chkBar, cmdCanvas, cmdClear, chkTrace, cmdOK})
        w->setFocusPolicy(Qt::TabFocus);
    for (QPushButton *b : optSize)
        b->setFocusPolicy(b->isChecked() ? Qt::TabFocus : Qt::NoFocus);
    picDot->setFocus();
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
            [this](int delta, float x, float y) { frameWithCanvas(QEvent::Wheel, 0, QPointF(x, y), delta); });
    txtWidth->setKeyPressHandler([this](qint16 &k) { txtWidth_KeyPress(k); });
    txtHeight->setKeyPressHandler([this](qint16 &k) { txtHeight_KeyPress(k); });
    // Enter in a size field applies the size, as 再描画 does (the digit filter keeps the
    // character itself out of the field).
    for (TextBox *t : {txtWidth, txtHeight})
        connect(t, &TextBox::enterPressed, this, &frmMain::cmdCanvas_Click);
    picDot->setKeyHandler([this](int key, int shift, bool down, bool repeated) {
        // While the underlay is framed, the canvas's keys frame it, and Enter and Escape end
        // the conversion as its window's buttons do.
        if (convert_) {
            if (!down)
                return false;
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                convert_->accept();
                return true;
            }
            if (key == Qt::Key_Escape) {
                convert_->reject();
                return true;
            }
            return convert_->takeKey(key);
        }
        const bool canvasKey = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up
                               || key == Qt::Key_Down || key == Qt::Key_Home || key == Qt::Key_End
                               || key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Space
                               || key == Qt::Key_Delete || key == Qt::Key_Backspace;
        if (!canvasKey || (shift & ~1) != 0)
            return false;
        if (down)
            picDot_KeyDown(key, shift, repeated);
        else
            picDot_KeyUp(key, shift, repeated);
        return true;
    });
    connect(picDot, &PictureBox::focusEntered, this, [this](bool byKeyboard) {
        if (byKeyboard) {
            cursorShown_ = true;
            showMarks();
        }
    });
    connect(picDot, &PictureBox::focusLeft, this, [this] {
        // The focus is shown where it went; a keyboard stroke cannot go on without it.
        if (strokeKey_)
            endStroke();
        cursorShown_ = false;
        showMarks();
    });

    // Every command beyond the panel, in the panel's context menu (the canvas keeps its
    // right button for painting).
    commands_ = new CommandList(this, [this](CommandList::Id id) { runCommand(id); });
    // Below the panel, over the true-size picture, while a large picture is read.
    loading_ = new UnderlayLoading(this, picDot,
                                   QRect(0, twipsToPixels(4875), twipsToPixels(1215), twipsToPixels(900)));
    loading_->setPanelFont(Frame1->font());
    connect(loading_, &UnderlayLoading::busyChanged, this, &frmMain::showCommandStates);
    recovery_ = std::make_unique<Recovery>(recoveryFolder(), [this] {
        const QSize size = pictureSize();
        return picPreview->image().copy(QRect(QPoint(0, 0), size));
    });
    connect(recovery_.get(), &Recovery::cannotWrite, this, &frmMain::tellCannotKeep);
    history_->setChanged([this] {
        commands_->nameSteps(history_->undoName(), history_->redoName());
        recovery_->changed();
        showTitle();
    });
    Frame1->installEventFilter(this);
    for (QWidget *control : Frame1->findChildren<QWidget *>())
        if (control != txtWidth && control != txtHeight)
            control->installEventFilter(this);
    setAcceptDrops(true);
}

void frmMain::describeForAssistiveTechnology()
{
    // What a screen reader says of each control: its caption without the access key, and
    // what it does.
    const auto describe = [](QWidget *w, const QString &name, const QString &what) {
        w->setAccessibleName(name);
        w->setAccessibleDescription(what);
    };
    describe(Frame1, QStringLiteral("コントロール"), QStringLiteral("倍率、大きさ、格子、下絵の操作"));
    for (int i = 1; i < 12; ++i)
        describe(optSize[size_t(i)], QStringLiteral("%1倍").arg(i + 1),
                 QStringLiteral("キャンバスの1ドットを%1ピクセルで表示します").arg(i + 1));
    describe(txtWidth, QStringLiteral("幅"), QStringLiteral("絵の幅（ドット数、0から99）"));
    describe(txtHeight, QStringLiteral("高さ"), QStringLiteral("絵の高さ（ドット数、0から99）"));
    describe(lblString, QStringLiteral("×"), QStringLiteral("幅と高さの間"));
    describe(chkBar, QStringLiteral("格子"), QStringLiteral("キャンバスに灰色の格子を表示します"));
    describe(cmdCanvas, QStringLiteral("再描画"), QStringLiteral("幅と高さを適用して描き直します（48ドットまで）"));
    describe(cmdClear, QStringLiteral("全消去"), QStringLiteral("絵を全部消します"));
    describe(chkTrace, QStringLiteral("下絵"), QStringLiteral("なぞるための画像を開いてキャンバスの下に表示します"));
    describe(cmdOK, QStringLiteral("(´ω｀)b"), QStringLiteral("絵を■と□の文字で表示します"));
    describe(picPreview, QStringLiteral("実寸の絵"), QStringLiteral("1ドットを1ピクセルで表示した絵。クリックすると文字で表示します"));
    describe(picTrace, QStringLiteral("下絵"), QStringLiteral("キャンバスの下に置く画像（表示されません）"));
    describe(optSize[0], QStringLiteral("1倍"), QStringLiteral("使われません"));
    describe(picDot, QStringLiteral("キャンバス"),
             QStringLiteral("左ボタンで黒、右ボタンで白を塗ります。矢印キーでカーソルを動かし、スペースで黒、Delete で白を塗ります"));
    picDot->setAccessibleValue([this] { return canvasValue(); });
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
    if (convert_)
        convert_->reject();
    // The window system may still offer to close a disabled window; the result window
    // holds the main window disabled and must be closed first.
    if (raiseResult()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
    // The program ends with this window: none of its other windows keeps it going alone.
    for (QWidget *other : std::initializer_list<QWidget *>{post_, help_})
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

void frmMain::rememberFocus()
{
    QWidget *focus = QApplication::focusWidget();
    if (focus && focus->window() == this)
        focusBefore_ = focus;
}

void frmMain::returnFocus()
{
    // Once the closing window is gone: what the window system does on its way out comes first.
    QTimer::singleShot(0, this, [this] {
        if (!isVisible() || !isEnabled() || QApplication::activeModalWidget() || QApplication::activePopupWidget())
            return;
        // Another window of the program still open and in front keeps the keyboard.
        if (QWidget *active = QApplication::activeWindow(); active && active != this && active->isVisible())
            return;
        activateWindow();
        (focusBefore_ ? focusBefore_.data() : static_cast<QWidget *>(picDot))->setFocus(Qt::ActiveWindowFocusReason);
    });
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
        returnFocus();
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
    takeOffer(*offer, QStringLiteral("ドラッグ元"), QStringLiteral("ドロップされた画像"));
}
