#include "MousePointer.h"

#include <QWidget>

void setMousePointer(QWidget *widget, int pointer)
{
    if (pointer == vbHourglass)
        widget->setCursor(Qt::WaitCursor);
    else
        widget->unsetCursor();
}
