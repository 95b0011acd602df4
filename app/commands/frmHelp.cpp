#include "frmHelp.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

frmHelp::frmHelp(const QList<CommandList::Row> &rows) : QWidget(nullptr)
{
    // Closing hides it; F1 shows the same window again.
    setWindowTitle(QCoreApplication::translate("frmHelp", "キーと操作"));
    lblIntro = new QLabel(QCoreApplication::translate("frmHelp", "左ボタン 黒、右・中ボタン 白（下絵があれば下絵を出す）。\n"
                                                                 "保存は Ctrl+S、下絵からドットは Ctrl+T、投稿用テキストは Ctrl+E。"
                                                                 "どれも、下の操作も、左のパネルを右クリックしたメニューから選べます。"),
                          this);
    lblIntro->setWordWrap(true);
    table = new QTableWidget(int(rows.size()), 2, this);
    table->setHorizontalHeaderLabels({QCoreApplication::translate("frmHelp", "キー"), QCoreApplication::translate("frmHelp", "操作")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAccessibleName(QCoreApplication::translate("frmHelp", "キーと操作の一覧"));
    for (int i = 0; i < rows.size(); ++i) {
        table->setItem(i, 0, new QTableWidgetItem(rows[i].keys));
        table->setItem(i, 1, new QTableWidgetItem(rows[i].what));
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblIntro);
    layout->addWidget(table);
    const int width = table->horizontalHeader()->length() + table->frameWidth() * 2 + 40;
    resize(std::max(width, 520), std::min(table->verticalHeader()->length() + 120, 720));
}

QList<CommandList::Row> frmHelp::canvasRows()
{
    const auto tr = [](const char *text) { return QCoreApplication::translate("frmHelp", text); };
    return {
        {tr("左ボタン / 右・中ボタン"), tr("キャンバスで黒（カラーでは選んだ色）を塗る / 白を塗る（下絵を出す）")},
        {tr("← → ↑ ↓"), tr("キャンバスのカーソルを1ドット動かす（範囲選択では選んだ範囲を動かす）")},
        {tr("Home / End / PgUp / PgDown"), tr("カーソルを左端・右端・上端・下端へ")},
        {tr("Space"), tr("カーソルの点を黒く塗る（押したまま動かすと続けて塗る。図形の道具では角を決めて描く）")},
        {tr("Del / Backspace"), tr("カーソルの点を白く塗る（下絵を出す。範囲選択では選んだ範囲を白くする）")},
        {tr("Shift+クリック"), tr("最後に塗った点からクリックした点まで直線を引く")},
        {tr("Shift+ドラッグ"), tr("直線は45度ずつ、四角は正方形、楕円は円にする")},
        {tr("Shift+← → ↑ ↓"), tr("範囲選択で、カーソルから範囲を広げる")},
        {tr("Enter / Esc"), tr("貼り付けた範囲を置く / ドラッグ中の図形や移動をやめる、選んだ範囲を外す")},
    };
}

void frmHelp::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}
