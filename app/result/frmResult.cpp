#include "frmResult.h"

#include "sizeEntry.h"
#include "toolkit/Fonts.h"
#include "toolkit/MousePointer.h"
#include "toolkit/MsgBox.h"
#include "toolkit/MultiLineTextBox.h"
#include "toolkit/Twips.h"

#include <QCoreApplication>
#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>

frmResult::frmResult(Source source) : QWidget(nullptr), source_(std::move(source))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QCoreApplication::translate("frmResult", "(´ω｀)b"));
    setFont(windowsFont(QStringLiteral("ＭＳ Ｐゴシック"), 12));
    resize(twipsToPixels(6735), twipsToPixels(4980));

    txtDot = new MultiLineTextBox(this);
    txtDot->setGeometry(0, 0, twipsToPixels(6495), twipsToPixels(4695));
    txtDot->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtDot->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtDot->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Another program's drag would be asked for its data by the toolkit, without a limit.
    txtDot->setAcceptDrops(false);
    if (source_.post) {
        auto *post = new QAction(QCoreApplication::translate("frmResult", "投稿用テキスト..."), this);
        connect(post, &QAction::triggered, this, [this] { source_.post(); });
        txtDot->setExtraActions({post});
    }
}

void frmResult::Show()
{
    if (loaded_) {
        show();
        return;
    }
    loaded_ = true;
    Form_Load();
}

void frmResult::Form_Load()
{
    show();
    source_.loaded(true);
    setMousePointer(this, vbHourglass);
    txtDot->setText(QString());
    const std::optional<QString> text = source_.text();
    if (text)
        txtDot->setText(*text);
    setMousePointer(this, vbDefault);

    if (!text) {
        // Without a size there is no text to show: the window goes again at once.
        QWidget *const parent = source_.messageParent;
        close();
        MsgBox(parent, invalidSizeMessage());
    }
}

void frmResult::Form_Resize()
{
    txtDot->resize(width(), height());
}

void frmResult::Form_Unload()
{
    loaded_ = false;
    source_.loaded(false);
}

void frmResult::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmResult::keyPressEvent(QKeyEvent *event)
{
    // Escape closes it, as it does a dialog.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}

void frmResult::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}
