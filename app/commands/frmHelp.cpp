#include "frmHelp.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

frmHelp::frmHelp(const QList<CommandList::Row> &rows) : QWidget(nullptr)
{
    // Closing hides it; F1 shows the same window again.
    setWindowTitle(QStringLiteral("キーと操作"));
    auto *intro = new QLabel(QStringLiteral("これらの操作は、左のパネルを右クリックしたメニューからも選べます。"), this);
    intro->setWordWrap(true);
    table = new QTableWidget(int(rows.size()), 2, this);
    table->setHorizontalHeaderLabels({QStringLiteral("キー"), QStringLiteral("操作")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAccessibleName(QStringLiteral("キーと操作の一覧"));
    for (int i = 0; i < rows.size(); ++i) {
        table->setItem(i, 0, new QTableWidgetItem(rows[i].keys));
        table->setItem(i, 1, new QTableWidgetItem(rows[i].what));
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(table);
    const int width = table->horizontalHeader()->length() + table->frameWidth() * 2 + 40;
    resize(std::max(width, 520), std::min(table->verticalHeader()->length() + 120, 720));
}

void frmHelp::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}
