#include "MsgBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

const char *const kAppTitle = "GRIDGLYPH";

namespace {

MsgBoxHook &hook()
{
    static MsgBoxHook h;
    return h;
}

MsgBoxAskHook &askHook()
{
    static MsgBoxAskHook h;
    return h;
}

// Where the keyboard was goes back there once a box closes, also where no window manager
// gives it back.
class KeyboardBack
{
public:
    KeyboardBack() : focus_(QApplication::focusWidget()) {}
    ~KeyboardBack()
    {
        if (focus_ && focus_->isVisible() && !QApplication::activeModalWidget()) {
            focus_->window()->activateWindow();
            focus_->setFocus(Qt::ActiveWindowFocusReason);
        }
    }
    KeyboardBack(const KeyboardBack &) = delete;
    KeyboardBack &operator=(const KeyboardBack &) = delete;

private:
    QPointer<QWidget> focus_;
};

} // namespace

void setMsgBoxHook(MsgBoxHook h) { hook() = std::move(h); }
void setMsgBoxAskHook(MsgBoxAskHook h) { askHook() = std::move(h); }

void MsgBox(QWidget *parent, const QString &text)
{
    if (hook()) {
        hook()(text);
        return;
    }
    const KeyboardBack back;
    // Over the window it belongs to, wherever in it the message came from.
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kAppTitle), text, QMessageBox::Ok,
                    parent ? parent->window() : nullptr);
    box.exec();
}

int MsgBoxAsk(QWidget *parent, const QString &text, const QStringList &answers, int preferred)
{
    if (answers.isEmpty())
        return 0;
    if (askHook())
        return std::clamp(askHook()(text, answers), 0, int(answers.size()) - 1);
    const KeyboardBack back;
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kAppTitle), text, QMessageBox::NoButton,
                    parent ? parent->window() : nullptr);
    QList<QAbstractButton *> buttons;
    for (const QString &answer : answers)
        buttons << box.addButton(answer, QMessageBox::AcceptRole);
    box.setDefaultButton(static_cast<QPushButton *>(buttons.value(preferred, buttons.constFirst())));
    box.setEscapeButton(buttons.constLast());
    box.exec();
    const qsizetype chosen = buttons.indexOf(box.clickedButton());
    return chosen < 0 ? int(answers.size()) - 1 : int(chosen);
}
