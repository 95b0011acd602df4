#include "Twips.h"

#include <QWidget>

#include <algorithm>

namespace {

// Frame thickness is only known once the window system has framed the window; before
// that it reads as zero and the client area takes the whole outer size.
QSize frameExtra(const QWidget *w)
{
    return w->frameGeometry().size() - w->geometry().size();
}

} // namespace

int outerWidthTwips(const QWidget *w) { return pixelsToTwips(w->frameGeometry().width()); }
int outerHeightTwips(const QWidget *w) { return pixelsToTwips(w->frameGeometry().height()); }

void setOuterWidthTwips(QWidget *w, int twips)
{
    w->resize(std::max(twipsToPixels(twips) - frameExtra(w).width(), 0), w->height());
}

void setOuterHeightTwips(QWidget *w, int twips)
{
    w->resize(w->width(), std::max(twipsToPixels(twips) - frameExtra(w).height(), 0));
}
