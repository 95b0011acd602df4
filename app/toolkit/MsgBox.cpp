#include "MsgBox.h"

#include <QMessageBox>

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
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kAppTitle), text,
                    QMessageBox::Ok, parent);
    box.exec();
}
