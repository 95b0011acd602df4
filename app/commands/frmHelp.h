#pragma once

#include "commandList.h"

#include <QWidget>

class QTableWidget;

// The keys and what they do, as the command list gives them (F1).
class frmHelp : public QWidget
{
    Q_OBJECT

public:
    explicit frmHelp(const QList<CommandList::Row> &rows);
    QTableWidget *table = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
