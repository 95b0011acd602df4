#include "FocusReturn.h"

#include <QApplication>
#include <QTimer>

void FocusReturn::remember()
{
    QWidget *focus = QApplication::focusWidget();
    if (focus && focus->window() == window_)
        before_ = focus;
}

void FocusReturn::giveBack()
{
    // What the window system does on the closing window's way out comes first.
    QTimer::singleShot(0, window_, [this] {
        if (!window_->isVisible() || !window_->isEnabled() || QApplication::activeModalWidget()
            || QApplication::activePopupWidget())
            return;
        if (QWidget *active = QApplication::activeWindow(); active && active != window_ && active->isVisible())
            return;
        window_->activateWindow();
        (before_ ? before_.data() : fallback_)->setFocus(Qt::ActiveWindowFocusReason);
    });
}

void FocusReturn::present(QWidget *other)
{
    if (!other->isVisible())
        remember();
    other->show();
    other->raise();
    other->activateWindow();
}
