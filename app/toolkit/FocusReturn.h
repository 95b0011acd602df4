#pragma once

#include <QPointer>
#include <QWidget>

// Where the keyboard was in a window when another window of the program opened, and the way
// back there when that one closes: the window activated again and the focus where it was,
// also where no window manager gives it back (a minimal desktop, a kiosk).
class FocusReturn
{
public:
    // `fallback`: where the keyboard goes when nothing was remembered.
    FocusReturn(QWidget *window, QWidget *fallback) : window_(window), fallback_(fallback) {}

    void remember();
    // Once the closing window is gone; not while another window of the program is in front.
    void giveBack();
    // Shows `other` in front with the keyboard, remembering where it was here.
    void present(QWidget *other);

private:
    QWidget *window_;
    QWidget *fallback_;
    QPointer<QWidget> before_;
};
