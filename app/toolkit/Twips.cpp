#include "Twips.h"

#include "WindowFrame.h"

#include <QGuiApplication>
#include <QWidget>

#include <algorithm>

QSize clientSizeForOuter(QSize outerTwips, const QMargins &frame)
{
    return QSize(std::max(twipsToPixels(outerTwips.width()) - frame.left() - frame.right(), 0),
                 std::max(twipsToPixels(outerTwips.height()) - frame.top() - frame.bottom(), 0));
}

int outerWidthTwips(const QWidget *w)
{
    const QMargins m = frameOf(w);
    return pixelsToTwips(w->width() + m.left() + m.right());
}

int outerHeightTwips(const QWidget *w)
{
    const QMargins m = frameOf(w);
    return pixelsToTwips(w->height() + m.top() + m.bottom());
}

void setOuterWidthTwips(QWidget *w, int twips)
{
    w->resize(clientSizeForOuter(QSize(twips, 0), frameOf(w)).width(), w->height());
}

void setOuterHeightTwips(QWidget *w, int twips)
{
    w->resize(w->width(), clientSizeForOuter(QSize(0, twips), frameOf(w)).height());
}

void setOuterSizeTwips(QWidget *w, int widthTwips, int heightTwips)
{
    const QSize client = clientSizeForOuter(QSize(widthTwips, heightTwips), frameOf(w));
    // On Wayland a window whose least and most sizes are one is one a tiling compositor (sway,
    // for one) floats at that size instead of stretching it over the screen; the program sets
    // the size itself on every redraw anyway.
    if (w->isWindow() && QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        w->setFixedSize(client);
        return;
    }
    w->resize(client);
}
