#include "frmPost.h"

#include "textReading.h"

#include "budgets.h"

#include "sizeEntry.h"
#include "toolkit/Contrast.h"

#include <QCoreApplication>
#include <QApplication>
#include <QTimer>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRawFont>
#include <QScreen>
#include <QTextLayout>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

const DotPair kPairs[] = {kSquares, kLargeSquares, kBlockAndEmSpace};
// The form after the pairs and the pair typed: braille.
constexpr int kBraille = 4;
// Below this a dot is no longer seen as one.
constexpr int kSmallestPixels = 3;
// A picture that grows beyond the window's size makes the window grow, within the screen, until
// its characters are this large.
constexpr int kReadablePixels = 8;

// The size `lines` take in `font`: the widest line, and the lines' heights together.
QSizeF laidOut(const QStringList &lines, const QFont &font)
{
    qreal width = 0, height = 0;
    QHash<QString, QSizeF> seen; // a picture's lines repeat
    for (const QString &line : lines) {
        auto known = seen.constFind(line);
        if (known == seen.constEnd()) {
            QTextLayout layout(line, font);
            layout.beginLayout();
            QTextLine l = layout.createLine();
            l.setLeadingIncluded(true);
            layout.endLayout();
            known = seen.insert(line, QSizeF(l.horizontalAdvance(), l.height())); // trailing blanks too
        }
        width = std::max(width, known->width());
        height += known->height();
    }
    return {width, height};
}

} // namespace

QFont fontForPair(const DotPair &pair, int points)
{
    const QStringList families = {QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"),
                                  QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("Noto Sans CJK JP"),
                                  QStringLiteral("VL Gothic"), QStringLiteral("TakaoGothic"),
                                  QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Symbola"),
                                  QStringLiteral("Noto Color Emoji"), QStringLiteral("Noto Sans Symbols 2")};
    // Square dots first: a font that draws both characters a full em wide (a monospaced
    // font draws "█" half as wide as it is high, and the picture looks stretched); then any
    // in which the two are at least equally wide, so that the rows line up.
    for (const bool square : {true, false}) {
        for (const QString &family : families) {
            if (!QFontDatabase::hasFamily(family))
                continue;
            QFont font(family, points);
            const QRawFont raw = QRawFont::fromFont(font);
            if (!raw.isValid() || !raw.supportsCharacter(uint(pair.black)) || !raw.supportsCharacter(uint(pair.white)))
                continue;
            const QFontMetricsF m(font);
            const qreal a = m.horizontalAdvance(characterText(pair.black));
            const qreal b = m.horizontalAdvance(characterText(pair.white));
            const bool wide = a >= 0.9 * QFontInfo(font).pixelSize();
            if (a > 0 && qAbs(a - b) < 0.01 && (wide || !square))
                return font;
        }
    }
    QFont fallback = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fallback.setPointSize(points);
    return fallback;
}

frmPost::frmPost(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QCoreApplication::translate("frmPost", "投稿用テキスト"));

    cboPair = new QComboBox(this);
    cboPair->addItems({QCoreApplication::translate("frmPost", "■ と □"), QCoreApplication::translate("frmPost", "⬛ と ⬜（絵文字）"),
                       QCoreApplication::translate("frmPost", "█ と全角幅の空白（U+2003）"), QCoreApplication::translate("frmPost", "自分で入力"),
                       QCoreApplication::translate("frmPost", "点字（2 × 4 ドットで1文字）")});
    cboPair->setAccessibleName(QCoreApplication::translate("frmPost", "文字"));
    txtPair = new QLineEdit(this);
    txtPair->setPlaceholderText(QCoreApplication::translate("frmPost", "黒と白の2文字"));
    txtPair->setMaxLength(8);
    txtPair->setAcceptDrops(false);
    txtPair->setEnabled(false);
    txtPair->setAccessibleName(QCoreApplication::translate("frmPost", "自分で入力する黒と白の文字"));
    lblPairWarning = new QLabel(this);
    lblPairWarning->setWordWrap(true);
    lblPairWarning->setMinimumHeight(lblPairWarning->fontMetrics().lineSpacing() * 2);

    chkSwap = new QCheckBox(QCoreApplication::translate("frmPost", "白と黒を入れ替える（暗い画面用）(&W)"), this);
    chkTrim = new QCheckBox(QCoreApplication::translate("frmPost", "何もない端の行と列を省く(&T)"), this);
    cboLineEnd = new QComboBox(this);
    cboLineEnd->addItems({QCoreApplication::translate("frmPost", "CR LF（Windows）"), QStringLiteral("LF")});
    cboLineEnd->setAccessibleName(QCoreApplication::translate("frmPost", "改行"));
    txtPost = new QPlainTextEdit(this);
    txtPost->setReadOnly(true);
    txtPost->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtPost->setAccessibleName(QCoreApplication::translate("frmPost", "投稿用テキスト"));
    lblLargest = new QLabel(this);
    cmdCopy = new QPushButton(QCoreApplication::translate("frmPost", "コピー(&C)"), this);
    auto *close = new QPushButton(QCoreApplication::translate("frmPost", "閉じる"), this);

    auto *pair = new QHBoxLayout;
    pair->addWidget(cboPair);
    pair->addWidget(txtPair);
    const auto caption = [this](const QString &text, QWidget *buddy) {
        auto *label = new QLabel(text, this);
        label->setBuddy(buddy);
        return label;
    };
    auto *form = new QFormLayout;
    form->addRow(caption(QCoreApplication::translate("frmPost", "文字(&K)"), cboPair), pair);
    form->addRow(QString(), lblPairWarning);
    form->addRow(QString(), chkSwap);
    form->addRow(QString(), chkTrim);
    form->addRow(caption(QCoreApplication::translate("frmPost", "改行(&L)"), cboLineEnd), cboLineEnd);
    budgets_ = new QGridLayout;
    budgets_->setHorizontalSpacing(12);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCopy);
    buttons->addWidget(close);
    auto *all = new QVBoxLayout(this);
    all->addLayout(form);
    all->addWidget(txtPost, 1);
    all->addLayout(budgets_);
    all->addWidget(lblLargest);
    all->addLayout(buttons);
    resize(560, 600);

    connect(cboPair, &QComboBox::currentIndexChanged, this, [this](int i) {
        txtPair->setEnabled(i == 3);
        if (i == 3)
            txtPair->setFocus();
        refresh();
    });
    connect(txtPair, &QLineEdit::textChanged, this, &frmPost::refresh);
    connect(chkSwap, &QCheckBox::toggled, this, &frmPost::refresh);
    connect(chkTrim, &QCheckBox::toggled, this, &frmPost::refresh);
    connect(cboLineEnd, &QComboBox::currentIndexChanged, this, &frmPost::refresh);
    connect(cmdCopy, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(text_); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

std::optional<DotPair> frmPost::typedPair() const
{
    if (cboPair->currentIndex() != 3)
        return std::nullopt;
    const TypedPair typed = readTypedPair(txtPair->text());
    return typed.ok ? std::optional<DotPair>(typed.pair) : std::nullopt;
}

PostOptions frmPost::options() const
{
    PostOptions o;
    const int i = cboPair->currentIndex();
    o.braille = i == kBraille;
    o.pair = i < 3 ? kPairs[i] : o.braille ? DotPair{0x28FF, kBrailleBlank} : typedPair().value_or(kSquares);
    o.swap = chkSwap->isChecked();
    o.colour = colour_;
    o.trim = chkTrim->isChecked();
    o.lineEnd = cboLineEnd->currentIndex() == 0 ? QStringLiteral("\r\n") : QStringLiteral("\n");
    return o;
}

void frmPost::setPicture(const QImage &dots, bool colour)
{
    dots_ = dots;
    colour_ = colour;
    refresh();
}

void frmPost::follow(const std::function<QImage()> &picture, bool colour, bool soon)
{
    if (!isVisible() || following_)
        return;
    if (!soon) {
        setPicture(picture(), colour);
        return;
    }
    following_ = true;
    QTimer::singleShot(0, this, [this, picture, colour] {
        following_ = false;
        if (isVisible())
            setPicture(picture(), colour);
    });
}

std::optional<QSize> frmPost::brailleSize(const QString &text) const
{
    for (const auto &[written, size] : braille_)
        if (samePictureText(written, text))
            return size;
    return std::nullopt;
}

bool frmPost::wroteSwapped(const QString &text) const
{
    for (const QString &t : swapped_)
        if (samePictureText(t, text))
            return true;
    return false;
}

void frmPost::refresh()
{
    QString warning;
    if (cboPair->currentIndex() == 3) {
        const TypedPair typed = readTypedPair(txtPair->text());
        if (!typed.ok)
            warning = typed.problem + QCoreApplication::translate("frmPost", " それまでは ■ と □ で書きます。");
        else if (typed.ambiguous)
            warning = QCoreApplication::translate("frmPost", "幅があいまいな文字（East Asian Ambiguous）があります。欧文のフォントでは半角で表示され、絵が崩れることがあります。");
    } else if (cboPair->currentIndex() != 1 && cboPair->currentIndex() != kBraille) {
        warning = QCoreApplication::translate("frmPost", "この文字は幅があいまいです。欧文のフォントが優先される画面では半角になり、絵が崩れることがあります。");
    }
    // The warning keeps its place, so that nothing below it jumps as the pair changes.
    lblPairWarning->setText(warning);
    // The states' colours, readable on the window's own background, light or dark.
    const QColor background = palette().color(QPalette::Window);
    const auto colour = [&background](QRgb wanted) {
        return QStringLiteral("color: %1").arg(readableOn(QColor(wanted), background).name());
    };
    lblPairWarning->setStyleSheet(colour(0xA04000));

    const PostOptions o = options();
    // A colour picture is written in its squares: no pair to choose.
    cboPair->setEnabled(!o.colour);
    text_ = postText(dots_, o);
    if (o.swap && !text_.isEmpty() && swapped_.value(0) != text_) {
        swapped_.prepend(text_);
        if (swapped_.size() > 16)
            swapped_.removeLast();
    }
    if (o.braille && !text_.isEmpty() && braille_.value(0).first != text_) {
        braille_.prepend({text_, (o.trim ? trimmed(dots_) : dots_).size()});
        if (braille_.size() > 16)
            braille_.removeLast();
    }
    // Looking for a font asks the font database; only a new pair needs it.
    const DotPair fontPair = o.colour ? kLargeSquares : o.pair;
    if (!(fontPair == shownPair_)) {
        pairFont_ = fontForPair(fontPair, 12);
        shownPair_ = fontPair;
    }
    const std::pair<QSize, bool> shape{o.trim ? trimmed(dots_).size() : dots_.size(), o.braille || o.colour};
    if (isVisible() && shape != grownFor_) {
        grownFor_ = shape;
        growToShow(std::min(kReadablePixels, largestPixels()));
    }
    fitText();

    // One row a service, fits or not at a glance, and the largest picture of this shape that
    // would; the labels are made once, the first time.
    budgetRows_.clear();
    const QImage shown = o.trim ? trimmed(dots_) : dots_;
    int row = 0;
    // An empty picture (0 dots, or nothing black when trimmed) is nothing to post.
    const bool nothing = shown.size().isEmpty();
    const int lineLength = o.braille ? (shown.width() + 1) / 2 : shown.width();
    // What the editor can make: the panel's sizes, or this picture's own where it is larger.
    const QSize editable = QSize(kApplyLimit, kApplyLimit).expandedTo(dots_.size());
    const bool beyondPanel = dots_.width() > kApplyLimit || dots_.height() > kApplyLimit;
    for (const Budget &b : countBudgets(text_, lineLength)) {
        const QString count = QStringLiteral("%1 / %2").arg(b.count).arg(b.limit);
        const QString verdict = nothing ? QCoreApplication::translate("frmPost", "－") : b.fits ? QCoreApplication::translate("frmPost", "○ 収まる") : QCoreApplication::translate("frmPost", "× 収まらない");
        if (budgets_->rowCount() <= row || !budgets_->itemAtPosition(row, 0)) {
            budgets_->addWidget(new QLabel(b.service, this), row, 0);
            auto *numbers = new QLabel(this);
            numbers->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            budgets_->addWidget(numbers, row, 1);
            budgets_->addWidget(new QLabel(this), row, 2);
            budgets_->addWidget(new QLabel(this), row, 3);
        }
        const QSize most = largestFitting(shown.size(), o.braille, o.pair, Service(row), o.colour, editable);
        static_cast<QLabel *>(budgets_->itemAtPosition(row, 3)->widget())
            ->setText(nothing ? QString()
                      : most.isEmpty() ? QCoreApplication::translate("frmPost", "収まる大きさなし")
                                       : QCoreApplication::translate("frmPost", "最大 %1 × %2").arg(most.width()).arg(most.height()));
        static_cast<QLabel *>(budgets_->itemAtPosition(row, 1)->widget())->setText(count);
        auto *fits = static_cast<QLabel *>(budgets_->itemAtPosition(row, 2)->widget());
        fits->setText(b.note.isEmpty() || nothing ? verdict : verdict + QCoreApplication::translate("frmPost", "（") + b.note + QCoreApplication::translate("frmPost", "）"));
        fits->setStyleSheet(nothing ? QString() : colour(b.fits ? 0x006000 : 0xB00000));
        budgetRows_ << QStringLiteral("%1 %2 %3 %4")
                           .arg(b.service, count, nothing ? QStringLiteral("nothing") : b.fits ? QStringLiteral("fits") : QStringLiteral("over"),
                                static_cast<QLabel *>(budgets_->itemAtPosition(row, 3)->widget())->text())
                           .trimmed();
        ++row;
    }
    budgets_->setColumnStretch(2, 1);
    lblLargest->setText(nothing       ? QCoreApplication::translate("frmPost", "絵に黒い点がないため、投稿するものがありません。")
                        : beyondPanel ? QCoreApplication::translate("frmPost", "「最大」は、この縦横比のまま収まるいちばん大きな絵（ドット数）です。"
                                                       "この絵はパネルで作れる %1 × %1 より大きいため、その大きさまで示します。")
                                            .arg(kApplyLimit)
                                      : QCoreApplication::translate("frmPost", "「最大」は、この縦横比のまま収まるいちばん大きな絵（ドット数）で、"
                                                       "パネルで作れる %1 × %1 までです。")
                                            .arg(kApplyLimit));
    lblLargest->setWordWrap(true);
}

QStringList frmPost::budgetRows() const { return budgetRows_; }


int frmPost::largestPixels() const
{
    // The pairs at their ordinary 12 points; braille, four of whose dots make a character's
    // height, at three times that, so that its dots can be judged.
    const int ordinary = QFontInfo(pairFont_).pixelSize();
    return options().braille ? ordinary * 3 : ordinary;
}

void frmPost::fitText()
{
    if (pairFont_.family().isEmpty()) {
        txtPost->setPlainText(text_);
        return;
    }
    // The whole picture in view without a scroll bar: the largest characters whose widest
    // line and every line's height, laid out as the box lays them out (with the fallback
    // fonts an emoji or a braille pattern may need), fit its inside.
    const QStringList lines = QString(text_).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
    const qreal margins = 2 * txtPost->document()->documentMargin() + txtPost->cursorWidth() + 2;
    const QSizeF room = QSizeF(txtPost->contentsRect().size()) - QSizeF(margins, margins);
    const QSizeF ordinary = laidOut(lines, pairFont_);
    int pixels = largestPixels();
    const int at = QFontInfo(pairFont_).pixelSize();
    // From the ordinary size's proportions, then smaller while it does not fit: a font's
    // sizes do not scale exactly.
    if (ordinary.width() > 0 && ordinary.height() > 0)
        pixels = std::min({pixels, int(at * room.width() / ordinary.width()) + 1, int(at * room.height() / ordinary.height()) + 1});
    QFont font = pairFont_;
    for (pixels = std::max(pixels, kSmallestPixels);; --pixels) {
        font.setPixelSize(pixels);
        // Measured in the font as the box resolves it, with the desktop's hinting.
        const QSizeF size = laidOut(lines, font.resolve(txtPost->font()));
        if (pixels <= kSmallestPixels || (size.width() <= room.width() && size.height() <= room.height()))
            break;
    }
    // The text set anew in its new font: the box would otherwise keep the width of its widest
    // line in the font before, and scroll sideways for nothing.
    if (font != txtPost->font() || text_ != shownText_) {
        txtPost->setFont(font);
        txtPost->setPlainText(text_);
        shownText_ = text_;
    }
}

void frmPost::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitText();
}

void frmPost::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The first time, as large as the picture wants at its largest characters; later the
    // user's size is kept, but for a picture that would not show at a readable size.
    if (!sized_) {
        sized_ = true;
        growToShow(largestPixels());
    }
}

void frmPost::growToShow(int pixels)
{
    QFont font = pairFont_;
    font.setPixelSize(pixels);
    const QSizeF text = laidOut(QString(text_).remove(QLatin1Char('\r')).split(QLatin1Char('\n')), font);
    const int margins = int(2 * txtPost->document()->documentMargin()) + txtPost->cursorWidth() + 4;
    const QSize grow = (text.toSize() + QSize(margins, margins) - txtPost->contentsRect().size()).expandedTo(QSize(0, 0));
    QSize size = this->size() + grow;
    if (const QScreen *s = screen())
        size = size.boundedTo(s->availableGeometry().size() * 9 / 10);
    size = size.expandedTo(this->size());
    if (size != this->size())
        resize(size);
}

void frmPost::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // A new desktop theme: the states' colours follow its background.
    if (event->type() == QEvent::PaletteChange && budgets_)
        refresh();
}

void frmPost::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}
