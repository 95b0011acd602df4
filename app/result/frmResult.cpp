#include "frmResult.h"

#include "dotText.h"
#include "frmMain.h"
#include "sizeEntry.h"
#include "toolkit/Fonts.h"
#include "toolkit/MousePointer.h"
#include "toolkit/MsgBox.h"
#include "toolkit/MultiLineTextBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/Twips.h"

#include <QCloseEvent>

frmResult::frmResult(frmMain &main) : QWidget(nullptr), main_(main)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("(´ω｀)b"));
    setFont(windowsFont(QStringLiteral("ＭＳ Ｐゴシック"), 12));
    resize(twipsToPixels(6735), twipsToPixels(4980));

    txtDot = new MultiLineTextBox(this);
    txtDot->setGeometry(0, 0, twipsToPixels(6495), twipsToPixels(4695));
    txtDot->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtDot->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtDot->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
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
    main_.setEnabled(false);
    setMousePointer(this, vbHourglass);
    txtDot->setText(QString());
    const std::optional<QString> text =
        dotText(main_.txtWidth->text(), main_.txtHeight->text(),
                [this](int x, int y) { return main_.isBlackDot(x, y); });
    if (text)
        txtDot->setText(*text);
    setMousePointer(this, vbDefault);

    if (!text) {
        // Without a size there is no text to show: the window goes again at once.
        frmMain &main = main_;
        close();
        MsgBox(&main, invalidSizeMessage());
    }
}

void frmResult::Form_Resize()
{
    txtDot->resize(width(), height());
}

void frmResult::Form_Unload()
{
    loaded_ = false;
    main_.setEnabled(true);
}

void frmResult::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmResult::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}
