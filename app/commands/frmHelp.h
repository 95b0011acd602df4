#pragma once

#include "commandList.h"

#include <QWidget>

class QLabel;
class QTableWidget;

// The keys and what they do, as the command list gives them (F1).
class frmHelp : public QWidget
{
    Q_OBJECT

public:
    explicit frmHelp(const QList<CommandList::Row> &rows);
    // What the canvas takes itself while it has the focus: the mouse, the cursor's keys, the
    // keys of the tools.
    static QList<CommandList::Row> canvasRows();
    // The mouse first, then where the things a newcomer looks for are.
    QLabel *lblIntro = nullptr;
    QTableWidget *table = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
