#include "MsgBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

const char *const kAppTitle = "GRIDGLYPH";

namespace {
MsgBoxHook &hook()
{
    static MsgBoxHook h;
    return h;
}
} // namespace

void setMsgBoxHook(MsgBoxHook h) { hook() = std::move(h); }

void MsgBox(QWidget *parent, const QString &text)
{
    if (hook()) {
        hook()(text);
        return;
    }
    // Where the keyboard was goes back there, also where no window manager gives it back.
    const QPointer<QWidget> focus = QApplication::focusWidget();
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kAppTitle), text,
                    QMessageBox::Ok, parent ? parent->window() : nullptr);
    box.exec();
    if (focus && focus->isVisible() && !QApplication::activeModalWidget()) {
        focus->window()->activateWindow();
        focus->setFocus(Qt::ActiveWindowFocusReason);
    }
}
