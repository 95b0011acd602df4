#include "Twips.h"

#include "WindowFrame.h"

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
    w->resize(clientSizeForOuter(QSize(widthTwips, heightTwips), frameOf(w)));
}
