#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

// The frame's width on each side, from the window's outer rectangle and its client's.
QMargins marginsBetween(const QRect &frame, const QRect &client);

// How much the window manager's frame adds around `window` on each side: what the platform
// reports once the window is framed, and before that what the window manager said when
// asked (nothing where it was not asked or did not answer).
QMargins frameOf(const QWidget *window);

// Asks an X11 window manager, before `window` is first shown, how thick its frame will be
// (the EWMH frame-extents request), so that the window can be given its outer size before
// the user ever sees it. Waits for the answer a fraction of a second at most; does nothing
// on other platforms.
void askFrameBeforeShowing(QWidget *window);
