// The main window's controls as its layout places them, in twips, with their captions, keys,
// tab order and what a screen reader says of each.
#include "mainLayout.h"

#include "frmMain.h"
#include "toolkit/PictureBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/Twips.h"

#include <QCoreApplication>
#include <QButtonGroup>
#include <QCheckBox>
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

void layOutMainWindow(frmMain &w)
{
    w.resize(twipsToPixels(7980), twipsToPixels(5760));

    w.picDot = pictureSurface(&w);
    place(w.picDot, 1320, 120, 5535, 4815);
    w.picDot->setFocusPolicy(Qt::StrongFocus);
    // Moves without a button arrive too, so that a stroke whose release was lost ends.
    w.picDot->setMouseTracking(true);
    w.picDot->setObjectName(QStringLiteral("picDot"));

    w.Frame1 = new QGroupBox(QCoreApplication::translate("frmMain", "コントロール"), &w);
    place(w.Frame1, 0, 0, 1215, 4815);
    // The panel is laid out for the 9-point user-interface font: at that size whatever the
    // desktop's default, so that no caption is ever cut (an 11-point desktop font cut
    // "コントロール" and every button's key).
    w.Frame1->setFont(panelFont(w.font()));
    // A classic frame: its border line runs through the middle of the caption, which is
    // inset from the left edge, and every control the layout places lies inside it. (The
    // style's own group box puts the line below the caption, above the top buttons.)
    const int half = w.Frame1->fontMetrics().height() / 2;
    w.Frame1->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 3px; margin-top: %1px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 6px; padding: 0 2px; }").arg(half));

    w.optSizeGroup = new QButtonGroup(&w);
    w.optSizeGroup->setExclusive(true);
    for (int i = 0; i < 12; ++i) {
        auto *b = new QPushButton(QStringLiteral("x&%1").arg(i + 1), w.Frame1);
        b->setCheckable(true);
        // Two columns of six, x1 to x6 on the left, each row 360 twips below the last.
        place(b, i < 6 ? 120 : 600, 240 + 360 * (i % 6), 495, 375);
        w.optSizeGroup->addButton(b, i);
        showPressedBold(b);
        // Arrow keys move between the buttons of the group, whatever their focus policy.
        b->setAutoExclusive(true);
        w.optSize[i] = b;
    }
    w.optSize[0]->hide();
    // The group is one stop of the tab order, on the selected button; the arrow keys
    // choose among the others. A click never takes the keyboard from the canvas: the arrows
    // and Space go on painting after a click on any button of the panel.
    QObject::connect(w.optSizeGroup, &QButtonGroup::idToggled, &w, [&w](int id, bool checked) {
        w.optSize[size_t(id)]->setFocusPolicy(checked ? Qt::TabFocus : Qt::NoFocus);
    });
    w.optSize[11]->setChecked(true);

    w.txtWidth = new TextBox(w.Frame1);
    w.txtWidth->setMaxLength(2);
    w.txtWidth->setText(QStringLiteral("32"));
    place(w.txtWidth, 120, 2520, 375, 270);

    w.lblString = new QLabel(QStringLiteral("×"), w.Frame1);
    w.lblString->setAlignment(Qt::AlignCenter);
    place(w.lblString, 525, 2580, 180, 180);

    w.txtHeight = new TextBox(w.Frame1);
    w.txtHeight->setMaxLength(2);
    w.txtHeight->setText(QStringLiteral("32"));
    place(w.txtHeight, 720, 2520, 375, 270);

    for (TextBox *t : {w.txtWidth, w.txtHeight}) {
        t->setAlignment(Qt::AlignRight);
        // A picture dropped here is an underlay, as anywhere else in the window.
        t->setAcceptDrops(false);
        // The frame of a line edit would leave no room for two digits in 25 pixels.
        t->setTextMargins(0, 0, 0, 0);
    }

    w.chkBar = new QCheckBox(QCoreApplication::translate("frmMain", "格子(&L)"), w.Frame1);
    w.chkBar->setChecked(true);
    place(w.chkBar, 120, 2880, 975, 255);

    w.cmdCanvas = new QPushButton(QCoreApplication::translate("frmMain", "再描画(&R)"), w.Frame1);
    place(w.cmdCanvas, 120, 3240, 975, 375);
    w.cmdClear = new QPushButton(QCoreApplication::translate("frmMain", "全消去(&C)"), w.Frame1);
    place(w.cmdClear, 120, 3600, 975, 375);
    w.cmdClear->setToolTip(QCoreApplication::translate("frmMain", "絵を全部消します。Ctrl+Z で元に戻せます。"));
    w.chkTrace = new QPushButton(QCoreApplication::translate("frmMain", "下絵(&T)"), w.Frame1);
    w.chkTrace->setCheckable(true);
    showPressedBold(w.chkTrace);
    place(w.chkTrace, 120, 3960, 975, 375);
    w.chkTrace->setToolTip(QCoreApplication::translate("frmMain", "なぞる画像を開きます。画像ファイルをウィンドウにドロップするか、"
                                        "Ctrl+V で貼り付けても下絵になります。"));
    w.cmdOK = new QPushButton(QCoreApplication::translate("frmMain", "(´ω｀)&b"), w.Frame1);
    place(w.cmdOK, 120, 4320, 975, 375);
    w.cmdOK->setToolTip(QCoreApplication::translate("frmMain", "絵を■と□の文字で表示します。Ctrl+C でウィンドウを開かずにコピーできます。"));

    w.picPreview = pictureSurface(&w);
    place(w.picPreview, 120, 4920, 720, 720);
    w.picPreview->setFocusPolicy(Qt::StrongFocus);
    w.picPreview->setKeepsHiddenArea(true);

    w.picTrace = pictureSurface(&w);
    place(w.picTrace, 6960, 2400, 900, 1005);
    w.picTrace->setSurfaceSize(twipsToPixels(900), twipsToPixels(1005));
    w.picTrace->setKeepsHiddenArea(true);
    w.picTrace->hide();
    w.picTrace->setFocusPolicy(Qt::NoFocus);

    // Tab order of the layout: canvas first, so it also has the focus at start.
    QWidget *order[] = {w.picDot, w.optSize[1], w.optSize[2], w.optSize[3], w.optSize[4], w.optSize[5],
                        w.txtWidth, w.optSize[6], w.optSize[7], w.txtHeight, w.cmdCanvas, w.picPreview,
                        w.chkBar, w.optSize[8], w.optSize[9], w.optSize[10], w.optSize[11], w.cmdClear,
                        w.cmdOK, w.chkTrace};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    // Every control of the panel at the panel's size: a desktop's font for buttons or check
    // boxes would otherwise be taken over it.
    for (QWidget *control : w.Frame1->findChildren<QWidget *>()) {
        QFont f = w.Frame1->font();
        f.setBold(control->font().bold());
        control->setFont(f);
    }
    // Set after the order, which leaves out what takes no focus at all.
    for (QWidget *w : std::initializer_list<QWidget *>{w.chkBar, w.cmdCanvas, w.cmdClear, w.chkTrace, w.cmdOK})
        w->setFocusPolicy(Qt::TabFocus);
    for (QPushButton *b : w.optSize)
        b->setFocusPolicy(b->isChecked() ? Qt::TabFocus : Qt::NoFocus);
    w.picDot->setFocus();
}

void describeMainWindow(frmMain &w)
{
    // What a screen reader says of each control: its caption without the access key, and
    // what it does.
    const auto describe = [](QWidget *w, const QString &name, const QString &what) {
        w->setAccessibleName(name);
        w->setAccessibleDescription(what);
    };
    describe(w.Frame1, QCoreApplication::translate("frmMain", "コントロール"), QCoreApplication::translate("frmMain", "倍率、大きさ、格子、下絵の操作"));
    for (int i = 1; i < 12; ++i)
        describe(w.optSize[size_t(i)], QCoreApplication::translate("frmMain", "%1倍").arg(i + 1),
                 QCoreApplication::translate("frmMain", "キャンバスの1ドットを%1ピクセルで表示します").arg(i + 1));
    describe(w.txtWidth, QCoreApplication::translate("frmMain", "幅"), QCoreApplication::translate("frmMain", "絵の幅（ドット数、0から99）"));
    describe(w.txtHeight, QCoreApplication::translate("frmMain", "高さ"), QCoreApplication::translate("frmMain", "絵の高さ（ドット数、0から99）"));
    describe(w.lblString, QStringLiteral("×"), QCoreApplication::translate("frmMain", "幅と高さの間"));
    describe(w.chkBar, QCoreApplication::translate("frmMain", "格子"), QCoreApplication::translate("frmMain", "キャンバスに灰色の格子を表示します"));
    describe(w.cmdCanvas, QCoreApplication::translate("frmMain", "再描画"), QCoreApplication::translate("frmMain", "幅と高さを適用して描き直します（48ドットまで）"));
    describe(w.cmdClear, QCoreApplication::translate("frmMain", "全消去"), QCoreApplication::translate("frmMain", "絵を全部消します"));
    describe(w.chkTrace, QCoreApplication::translate("frmMain", "下絵"), QCoreApplication::translate("frmMain", "なぞるための画像を開いてキャンバスの下に表示します"));
    describe(w.cmdOK, QCoreApplication::translate("frmMain", "(´ω｀)b"), QCoreApplication::translate("frmMain", "絵を■と□の文字で表示します"));
    describe(w.picPreview, QCoreApplication::translate("frmMain", "実寸の絵"), QCoreApplication::translate("frmMain", "1ドットを1ピクセルで表示した絵。クリックすると文字で表示します"));
    describe(w.picTrace, QCoreApplication::translate("frmMain", "下絵"), QCoreApplication::translate("frmMain", "キャンバスの下に置く画像（表示されません）"));
    describe(w.optSize[0], QCoreApplication::translate("frmMain", "1倍"), QCoreApplication::translate("frmMain", "使われません"));
    describe(w.picDot, QCoreApplication::translate("frmMain", "キャンバス"),
             QCoreApplication::translate("frmMain", "左ボタンで黒、右ボタンで白を塗ります。矢印キーでカーソルを動かし、スペースで黒、Delete で白を塗ります"));
}

