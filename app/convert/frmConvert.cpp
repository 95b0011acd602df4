#include "frmConvert.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QCoreApplication>
#include <QKeyEvent>

#include <cmath>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSlider>

namespace {

// The keys that frame the picture: each the key the canvas hands on, the sequences this
// window takes it by, and what it does, for the help window.
struct FramingKey
{
    int key;
    QList<QKeySequence> sequences;
    const char *keys;
    const char *what;
};
const FramingKey kFramingKeys[] = {
    {Qt::Key_Plus, {QKeySequence(Qt::Key_Plus), QKeySequence(Qt::SHIFT | Qt::Key_Plus), QKeySequence(Qt::Key_Equal), QKeySequence(Qt::KeypadModifier | Qt::Key_Plus)},
     QT_TRANSLATE_NOOP("frmConvert", "+ / −（Ctrl+T の間）"), QT_TRANSLATE_NOOP("frmConvert", "下絵を1.25倍に拡大・縮小（キャンバスの中央を中心に）")},
    {Qt::Key_Minus, {QKeySequence(Qt::Key_Minus), QKeySequence(Qt::KeypadModifier | Qt::Key_Minus)}, nullptr, nullptr},
    {Qt::Key_0, {QKeySequence(Qt::Key_0), QKeySequence(Qt::KeypadModifier | Qt::Key_0)},
     QT_TRANSLATE_NOOP("frmConvert", "0（Ctrl+T の間）"), QT_TRANSLATE_NOOP("frmConvert", "下絵をキャンバスに合わせ直す")},
    {Qt::Key_U, {QKeySequence(Qt::Key_U)}, nullptr, nullptr},
};

} // namespace

QList<QPair<QString, QString>> frmConvert::keyRows()
{
    QList<QPair<QString, QString>> rows{{tr("← → ↑ ↓（Ctrl+T の間）"), tr("下絵を1ドット動かす（リストやスライダーを操作中でないとき）")}};
    for (const FramingKey &k : kFramingKeys)
        if (k.keys)
            rows.append({tr(k.keys), tr(k.what)});
    rows.append({tr("ドラッグ / ホイール（Ctrl+T の間）"), tr("キャンバスで下絵を動かす / ポインターを中心に拡大・縮小")});
    rows.append({tr("Alt+O（Ctrl+T の間）"), tr("色: 白黒か絵文字9色（⬛⬜🟥🟧🟨🟩🟦🟪🟫）か")});
    rows.append({tr("Alt+B / Alt+N（Ctrl+T の間）"), tr("明るさ / コントラスト（−100〜100、矢印キーで1ずつ、PgUp・PgDownで10ずつ）")});
    rows.append({tr("Alt+E（Ctrl+T の間）"), tr("輪郭を強調（小さな絵で目や輪郭を残す）")});
    return rows;
}

frmConvert::frmConvert(QWidget *owner, bool wholePicture) : QDialog(owner), wholePicture_(wholePicture)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QCoreApplication::translate("frmConvert", "下絵から点を打つ"));
    // Not modal: the canvas takes the drag and the wheel that frame the picture; the owner
    // keeps everything else of its own still meanwhile.
    setWindowModality(Qt::NonModal);

    cboPlacement = new QComboBox(this);
    // Each choice carries what it means: the lists' order is the captions' alone.
    cboPlacement->addItem(QCoreApplication::translate("frmConvert", "そのまま（左上から）"), int(Placement::AsLoaded));
    cboPlacement->addItem(QCoreApplication::translate("frmConvert", "キャンバスに合わせる"), int(Placement::Fitted));
    cboPlacement->addItem(QCoreApplication::translate("frmConvert", "キャンバスを覆う"), int(Placement::Filled));
    if (!wholePicture) {
        // Too large to reduce: only its top-left part was kept.
        for (int i : {1, 2})
            cboPlacement->setItemData(i, 0, Qt::UserRole - 1);
    }
    chkAutomatic = new QCheckBox(QCoreApplication::translate("frmConvert", "自動(&A)"), this);
    chkAutomatic->setChecked(true);
    sldThreshold = new QSlider(Qt::Horizontal, this);
    sldThreshold->setRange(0, 255);
    sldThreshold->setValue(128);
    sldThreshold->setMinimumWidth(160);
    lblThreshold = new QLabel(this);
    lblThreshold->setMinimumWidth(lblThreshold->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 4);
    lblThreshold->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    cboDither = new QComboBox(this);
    cboDither->addItem(QCoreApplication::translate("frmConvert", "なし"), int(Dither::None));
    cboDither->addItem(QCoreApplication::translate("frmConvert", "誤差拡散（Floyd–Steinberg）"), int(Dither::FloydSteinberg));
    cboDither->addItem(QCoreApplication::translate("frmConvert", "誤差拡散（Atkinson）"), int(Dither::Atkinson));
    cboDither->addItem(QCoreApplication::translate("frmConvert", "規則的 4×4（Bayer）"), int(Dither::Bayer4));
    chkInvert = new QCheckBox(QCoreApplication::translate("frmConvert", "白黒反転(&I)"), this);
    cboColour = new QComboBox(this);
    cboColour->addItem(QCoreApplication::translate("frmConvert", "白黒"), false);
    cboColour->addItem(QCoreApplication::translate("frmConvert", "絵文字9色"), true);
    const auto slider = [this](const QString &name) {
        auto *s = new QSlider(Qt::Horizontal, this);
        s->setRange(-100, 100);
        s->setValue(0);
        s->setAccessibleName(name);
        return s;
    };
    sldBrightness = slider(QCoreApplication::translate("frmConvert", "明るさ"));
    sldContrast = slider(QCoreApplication::translate("frmConvert", "コントラスト"));
    chkSharpen = new QCheckBox(QCoreApplication::translate("frmConvert", "輪郭を強調(&E)"), this);
    lblHelp = new QLabel(QCoreApplication::translate("frmConvert", "下絵を動かす: 矢印キー（1ドット）、キャンバスをドラッグ\n"
                                        "拡大・縮小: + と −（1.25倍）、キャンバスでホイール\n"
                                        "キャンバスに合わせ直す: 0　　下絵の濃さ: U"),
                         this);
    lblHelp->setAccessibleName(QCoreApplication::translate("frmConvert", "下絵の動かし方"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QCoreApplication::translate("frmConvert", "キャンセル"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);

    auto *threshold = new QHBoxLayout;
    threshold->addWidget(chkAutomatic);
    threshold->addWidget(sldThreshold, 1);
    threshold->addWidget(lblThreshold);
    // Each caption's access key takes the focus to its control.
    const auto caption = [this](const QString &text, QWidget *buddy) {
        auto *label = new QLabel(text, this);
        label->setBuddy(buddy);
        return label;
    };
    // A slider with its value beside it.
    const auto valued = [this](QSlider *s) {
        auto *row = new QHBoxLayout;
        auto *value = new QLabel(QStringLiteral("0"), this);
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("-000")) + 4);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        connect(s, &QSlider::valueChanged, value, [value](int v) { value->setNum(v); });
        row->addWidget(s, 1);
        row->addWidget(value);
        return row;
    };
    auto *form = new QFormLayout(this);
    form->addRow(caption(QCoreApplication::translate("frmConvert", "下絵の配置(&P)"), cboPlacement), cboPlacement);
    form->addRow(caption(QCoreApplication::translate("frmConvert", "色(&O)"), cboColour), cboColour);
    form->addRow(caption(QCoreApplication::translate("frmConvert", "明るさ(&B)"), sldBrightness), valued(sldBrightness));
    form->addRow(caption(QCoreApplication::translate("frmConvert", "コントラスト(&N)"), sldContrast), valued(sldContrast));
    form->addRow(QString(), chkSharpen);
    form->addRow(caption(QCoreApplication::translate("frmConvert", "しきい値(&S)"), sldThreshold), threshold);
    form->addRow(caption(QCoreApplication::translate("frmConvert", "ディザ(&D)"), cboDither), cboDither);
    form->addRow(QString(), chkInvert);
    form->addRow(lblHelp);
    form->addRow(buttons);
    cboPlacement->setAccessibleName(QCoreApplication::translate("frmConvert", "下絵の配置"));
    sldThreshold->setAccessibleName(QCoreApplication::translate("frmConvert", "しきい値"));
    sldThreshold->setAccessibleDescription(QCoreApplication::translate("frmConvert", "これより暗い点を黒にします（0から255）"));
    cboDither->setAccessibleName(QCoreApplication::translate("frmConvert", "ディザ"));
    cboColour->setAccessibleName(QCoreApplication::translate("frmConvert", "色"));

    // Opened as the last conversion left it.
    const ConvertSettings last = remembered();
    cboDither->setCurrentIndex(std::max(cboDither->findData(int(last.dither)), 0));
    chkAutomatic->setChecked(last.automatic);
    sldThreshold->setValue(last.threshold);
    chkInvert->setChecked(last.invert);
    cboColour->setCurrentIndex(last.colour ? 1 : 0);
    sldBrightness->setValue(last.brightness);
    sldContrast->setValue(last.contrast);
    chkSharpen->setChecked(last.sharpen);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A placement chosen in the list starts without a framing.
    connect(cboPlacement, &QComboBox::currentIndexChanged, this, [this] {
        framing_ = Framing{Placement(cboPlacement->currentData().toInt()), 1.0, {}};
        changed();
    });
    // The framing keys but the arrows, wherever the focus is in the window (the slider keeps
    // Page Up and Page Down, the lists Space and Alt+Down).
    for (const FramingKey &k : kFramingKeys)
        for (const QKeySequence &sequence : k.sequences) {
            auto *shortcut = new QShortcut(sequence, this);
            connect(shortcut, &QShortcut::activated, this, [this, key = k.key] { takeKey(key); });
        }
    // The arrows too, unless the control with the focus uses them itself: a list chooses with
    // them, a slider slides.
    for (const int key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down}) {
        auto *shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, [this, key] { takeKey(key); });
        arrows_ << shortcut;
    }
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        const bool own = qobject_cast<QComboBox *>(now) || qobject_cast<QAbstractSlider *>(now)
                         || qobject_cast<QAbstractSpinBox *>(now) || qobject_cast<QLineEdit *>(now);
        for (QShortcut *s : arrows_)
            s->setEnabled(!own);
    });
    connect(cboDither, &QComboBox::currentIndexChanged, this, &frmConvert::changed);
    connect(chkInvert, &QCheckBox::toggled, this, &frmConvert::changed);
    connect(cboColour, &QComboBox::currentIndexChanged, this, &frmConvert::changed);
    connect(sldBrightness, &QSlider::valueChanged, this, &frmConvert::changed);
    connect(sldContrast, &QSlider::valueChanged, this, &frmConvert::changed);
    connect(chkSharpen, &QCheckBox::toggled, this, &frmConvert::changed);
    // What the window had when OK was pressed is what the next one opens with.
    connect(this, &QDialog::accepted, this, [this] { remember(settings()); });
    connect(chkAutomatic, &QCheckBox::toggled, this, &frmConvert::changed);
    connect(sldThreshold, &QSlider::valueChanged, this, [this] {
        // Moving the slider chooses a threshold of one's own.
        if (chkAutomatic->isChecked()) {
            const QSignalBlocker quiet(chkAutomatic);
            chkAutomatic->setChecked(false);
        }
        changed();
    });
}

frmConvert::~frmConvert()
{
    // The dialog hides as it goes, and the focus moves: nothing of this part is left to tell.
    disconnect(focusWatch_);
}

void frmConvert::start(const Framing &framing, QSize dots)
{
    canvas_ = dots;
    framing_ = wholePicture_ ? framing : Framing{};
    {
        const QSignalBlocker quiet(cboPlacement);
        cboPlacement->setCurrentIndex(cboPlacement->findData(int(framing_.placement)));
    }
    adjustSize();
    // Beside the main window, where it leaves the canvas in sight.
    if (QWidget *owner = parentWidget()) {
        const QRect frame = owner->frameGeometry();
        const QRect screen = owner->screen() ? owner->screen()->availableGeometry() : QRect();
        QPoint at(frame.right() + 8, frame.top());
        if (!screen.isEmpty() && at.x() + frameGeometry().width() > screen.right())
            at = QPoint(std::max(screen.left(), frame.left()), std::min(frame.bottom() + 8, screen.bottom() - height()));
        move(at);
    }
    showing_ = true;
    open();
    // Its keys are the window's from the start, also where no window manager gives them; the
    // focus on OK, so that the arrows frame the picture until a list or the slider is chosen.
    activateWindow();
    if (auto *ok = findChild<QDialogButtonBox *>()) 
        ok->button(QDialogButtonBox::Ok)->setFocus(Qt::OtherFocusReason);
    changed();
}

ConvertSettings frmConvert::settings() const
{
    ConvertSettings s;
    s.framing = framing_;
    s.automatic = chkAutomatic->isChecked();
    s.threshold = sldThreshold->value();
    s.dither = Dither(cboDither->currentData().toInt());
    s.invert = chkInvert->isChecked();
    s.colour = cboColour->currentData().toBool();
    s.brightness = sldBrightness->value();
    s.contrast = sldContrast->value();
    s.sharpen = chkSharpen->isChecked();
    return s;
}

namespace {
QSettings kept() { return QSettings(QStringLiteral("GRIDGLYPH"), QStringLiteral("GRIDGLYPH")); }
} // namespace

ConvertSettings frmConvert::remembered()
{
    QSettings settings = kept();
    settings.beginGroup(QStringLiteral("convert"));
    ConvertSettings s;
    const auto number = [&settings](const char *key, int fallback, int least, int most) {
        return std::clamp(settings.value(QLatin1String(key), fallback).toInt(), least, most);
    };
    s.framing.placement = Placement(number("placement", int(Placement::Fitted), 0, 2));
    s.automatic = settings.value(QStringLiteral("automatic"), true).toBool();
    s.threshold = number("threshold", 128, 0, 255);
    s.dither = Dither(number("dither", int(Dither::None), 0, int(Dither::Bayer4)));
    s.invert = settings.value(QStringLiteral("invert"), false).toBool();
    s.colour = settings.value(QStringLiteral("colour"), false).toBool();
    s.brightness = number("brightness", 0, -100, 100);
    s.contrast = number("contrast", 0, -100, 100);
    s.sharpen = settings.value(QStringLiteral("sharpen"), false).toBool();
    return s;
}

void frmConvert::remember(const ConvertSettings &s)
{
    QSettings settings = kept();
    settings.beginGroup(QStringLiteral("convert"));
    settings.setValue(QStringLiteral("placement"), int(s.framing.placement));
    settings.setValue(QStringLiteral("automatic"), s.automatic);
    settings.setValue(QStringLiteral("threshold"), s.threshold);
    settings.setValue(QStringLiteral("dither"), int(s.dither));
    settings.setValue(QStringLiteral("invert"), s.invert);
    settings.setValue(QStringLiteral("colour"), s.colour);
    settings.setValue(QStringLiteral("brightness"), s.brightness);
    settings.setValue(QStringLiteral("contrast"), s.contrast);
    settings.setValue(QStringLiteral("sharpen"), s.sharpen);
}

Conversion::Result frmConvert::convert(Underlay &underlay, QSize dots, int dotSize)
{
    const Conversion::Result r = conversion_.run(underlay, dots, dotSize, settings());
    lblThreshold->setText(QString::number(r.threshold));
    if (chkAutomatic->isChecked()) {
        const QSignalBlocker quiet(sldThreshold);
        sldThreshold->setValue(std::min(r.threshold, 255));
    }
    return r;
}

void frmConvert::changed()
{
    if (showing_)
        emit settingsChanged(settings());
}

void frmConvert::frame(const Framing &framing)
{
    if (!wholePicture_)
        return;
    framing_ = framing;
    framing_.canvas = framing_.shift.isNull() ? QSize() : canvas_;
    {
        const QSignalBlocker quiet(cboPlacement);
        cboPlacement->setCurrentIndex(cboPlacement->findData(int(framing_.placement)));
    }
    changed();
}

void frmConvert::moveBy(QPointF dots)
{
    Framing f = framing_;
    if (f.placement == Placement::AsLoaded)
        f = Framing{Placement::Fitted, 1.0, {}};
    frame(movedBy(f, dots));
}

void frmConvert::zoomBy(double factor, QPointF at)
{
    Framing f = framing_;
    if (f.placement == Placement::AsLoaded)
        f = Framing{Placement::Fitted, 1.0, {}};
    frame(zoomedAbout(f, factor, at));
}

void frmConvert::fitAgain() { frame(Framing{Placement::Fitted, 1.0, {}}); }

void frmConvert::canvasPress(int button, QPointF at) { dragFrom_ = button == 1 ? std::optional<QPointF>(at) : std::nullopt; }

void frmConvert::canvasMove(int buttons, QPointF at, int dotSize)
{
    if (!dragFrom_ || buttons == 0)
        return;
    moveBy((at - *dragFrom_) / std::max(dotSize, 1));
    dragFrom_ = at;
}

void frmConvert::canvasRelease() { dragFrom_.reset(); }

void frmConvert::canvasWheel(int angleDelta, QPointF at, QSizeF canvas, int dotSize)
{
    const QPointF middle(canvas.width() / 2.0, canvas.height() / 2.0);
    zoomBy(std::pow(kZoomStep, angleDelta / 120.0), (at - middle) / std::max(dotSize, 1));
}

bool frmConvert::canvasKey(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        accept();
        return true;
    }
    if (key == Qt::Key_Escape) {
        reject();
        return true;
    }
    return takeKey(key);
}

bool frmConvert::takeKey(int key)
{
    switch (key) {
    case Qt::Key_Left: moveBy(QPointF(-1, 0)); return true;
    case Qt::Key_Right: moveBy(QPointF(1, 0)); return true;
    case Qt::Key_Up: moveBy(QPointF(0, -1)); return true;
    case Qt::Key_Down: moveBy(QPointF(0, 1)); return true;
    case Qt::Key_Plus: case Qt::Key_Equal: zoomBy(kZoomStep); return true;
    case Qt::Key_Minus: zoomBy(1 / kZoomStep); return true;
    case Qt::Key_0: fitAgain(); return true;
    case Qt::Key_U: emit strengthAsked(); return true;
    default: return false;
    }
}
