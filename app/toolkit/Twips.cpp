#include "Twips.h"

#include "WindowFrame.h"

#include <QWidget>

#include <algorithm>

namespace {

QSize frameExtra(const QWidget *w)
{
    const QMargins m = frameOf(w);
    return QSize(m.left() + m.right(), m.top() + m.bottom());
}

} // namespace

int outerWidthTwips(const QWidget *w) { return pixelsToTwips(w->width() + frameExtra(w).width()); }
int outerHeightTwips(const QWidget *w) { return pixelsToTwips(w->height() + frameExtra(w).height()); }

void setOuterWidthTwips(QWidget *w, int twips)
{
    w->resize(std::max(twipsToPixels(twips) - frameExtra(w).width(), 0), w->height());
}

void setOuterHeightTwips(QWidget *w, int twips)
{
    w->resize(w->width(), std::max(twipsToPixels(twips) - frameExtra(w).height(), 0));
}
