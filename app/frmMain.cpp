#include "frmMain.h"

#include "pictureDrop.h"
#include "pictureHistory.h"
#include "result/frmResult.h"
#include "toolkit/PictureBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/Twips.h"
#include "toolkit/WindowFrame.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QShortcut>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

// Places a control by its layout position and size in twips.
void place(QWidget *w, int left, int top, int width, int height)
{
    w->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                   twipsToPixels(height));
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
    history_ = std::make_unique<PictureHistory>(picPreview, [this] { drawAt(pictureSize()); });
    connectHandlers();
    Form_Load();
}

frmMain::~frmMain()
{
    // The result window reads this window; it must not outlive it.
    delete result_.data();
}

void frmMain::buildLayout()
{
    resize(twipsToPixels(7980), twipsToPixels(5760));

    picDot = pictureSurface(this);
    place(picDot, 1320, 120, 5535, 4815);
    picDot->setFocusPolicy(Qt::StrongFocus);
    // Moves without a button arrive too, so that a stroke whose release was lost ends.
    picDot->setMouseTracking(true);

    Frame1 = new QGroupBox(QStringLiteral("コントロール"), this);
    place(Frame1, 0, 0, 1215, 4815);
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
    // choose among the others.
    connect(optSizeGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        optSize[size_t(id)]->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
    });
    for (QPushButton *b : optSize)
        b->setFocusPolicy(Qt::ClickFocus);
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

    picPreview = pictureSurface(this);
    place(picPreview, 120, 4920, 720, 720);
    picPreview->setFocusPolicy(Qt::StrongFocus);
    picPreview->setKeepsHiddenArea(true);

    picTrace = pictureSurface(this);
    place(picTrace, 6960, 2400, 900, 1005);
    picTrace->setSurfaceSize(twipsToPixels(900), twipsToPixels(1005));
    picTrace->setKeepsHiddenArea(true);
    picTrace->hide();

    // Tab order of the layout: canvas first, so it also has the focus at start.
    QWidget *order[] = {picDot, optSize[1], optSize[2], optSize[3], optSize[4], optSize[5],
                        txtWidth, optSize[6], optSize[7], txtHeight, cmdCanvas, picPreview,
                        chkBar, optSize[8], optSize[9], optSize[10], optSize[11], cmdClear,
                        cmdOK, chkTrace};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
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
    txtWidth->setKeyPressHandler([this](qint16 &k) { txtWidth_KeyPress(k); });
    txtHeight->setKeyPressHandler([this](qint16 &k) { txtHeight_KeyPress(k); });

    // Anywhere in the window but the size fields, which take these keys themselves (and
    // discard them).
    const auto shortcut = [this](const QKeySequence &keys, void (frmMain::*slot)()) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), &frmMain::undo);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), &frmMain::redo);
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &frmMain::redo);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_V), &frmMain::pasteUnderlay);
    setAcceptDrops(true);
}

bool frmMain::event(QEvent *event)
{
    switch (event->type()) {
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
        if (result_ && result_->isLoaded()) {
            result_->raise();
            result_->activateWindow();
        }
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // The window system may still offer to close a disabled window; the result window
    // holds the main window disabled and must be closed first.
    if (result_ && result_->isLoaded()) {
        event->ignore();
        result_->raise();
        result_->activateWindow();
        return;
    }
    QWidget::closeEvent(event);
}

void frmMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (offersPicture(event->mimeData()))
        event->acceptProposedAction();
}

void frmMain::dragMoveEvent(QDragMoveEvent *event)
{
    if (offersPicture(event->mimeData()))
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent *event)
{
    event->acceptProposedAction();
    underlayFrom(event->mimeData(), QStringLiteral("ドロップされた画像"));
}
