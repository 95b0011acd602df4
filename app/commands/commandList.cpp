#include "commandList.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QMenu>
#include <QWidget>

namespace {

const QString kUndo = QStringLiteral("元に戻す");
const QString kRedo = QStringLiteral("やり直す");

} // namespace

CommandList::CommandList(QWidget *window, Handlers run) : QObject(window), window_(window)
{
    using K = QKeySequence;
    add(Undo, kUndo, {K(Qt::CTRL | Qt::Key_Z)});
    add(Redo, kRedo, {K(Qt::CTRL | Qt::Key_Y), K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    add(Copy, QStringLiteral("テキストをコピー"), {K(Qt::CTRL | Qt::Key_C)});
    add(Paste, QStringLiteral("貼り付け（画像は下絵、絵の文字は絵に）"), {K(Qt::CTRL | Qt::Key_V)});
    add(Save, QStringLiteral("絵を保存"), {K(Qt::CTRL | Qt::Key_S)});
    add(SaveAs, QStringLiteral("名前を付けて絵を保存..."), {K(Qt::CTRL | Qt::SHIFT | Qt::Key_S)});
    add(Open, QStringLiteral("絵を開く..."), {K(Qt::CTRL | Qt::Key_O)});
    add(OpenLast, QStringLiteral("前回の絵を開く"), {K(Qt::CTRL | Qt::SHIFT | Qt::Key_O)});
    add(Convert, QStringLiteral("下絵から点を打つ..."), {K(Qt::CTRL | Qt::Key_T)});
    add(Post, QStringLiteral("投稿用テキスト..."), {K(Qt::CTRL | Qt::Key_E)});
    add(PlaceAsLoaded, QStringLiteral("下絵をそのまま置く"), {K(Qt::CTRL | Qt::Key_1)});
    add(PlaceFitted, QStringLiteral("下絵をキャンバスに合わせる"), {K(Qt::CTRL | Qt::Key_2)});
    add(PlaceFilled, QStringLiteral("下絵でキャンバスを覆う"), {K(Qt::CTRL | Qt::Key_3)});
    add(Invert, QStringLiteral("白黒反転"), {K(Qt::CTRL | Qt::Key_I)});
    add(FlipLeftRight, QStringLiteral("左右反転"), {K(Qt::SHIFT | Qt::Key_H)});
    add(FlipTopBottom, QStringLiteral("上下反転"), {K(Qt::SHIFT | Qt::Key_V)});
    add(ShiftLeft, QStringLiteral("左へ1ドットずらす"), {K(Qt::CTRL | Qt::Key_Left)});
    add(ShiftRight, QStringLiteral("右へ1ドットずらす"), {K(Qt::CTRL | Qt::Key_Right)});
    add(ShiftUp, QStringLiteral("上へ1ドットずらす"), {K(Qt::CTRL | Qt::Key_Up)});
    add(ShiftDown, QStringLiteral("下へ1ドットずらす"), {K(Qt::CTRL | Qt::Key_Down)});
    add(TurnClockwise, QStringLiteral("右に90度回す"), {K(Qt::CTRL | Qt::Key_R)});
    add(TurnAnticlockwise, QStringLiteral("左に90度回す"), {K(Qt::CTRL | Qt::SHIFT | Qt::Key_R)});
    add(Mirror, QStringLiteral("ミラー描画（左右対称に描く）"), {K(Qt::Key_M)});
    add(UnderlayStrength, QStringLiteral("下絵を薄く表示（100%）"), {K(Qt::Key_U)});
    add(Help, QStringLiteral("キーと操作の一覧"), {K(Qt::Key_F1)});
    add(Quit, QStringLiteral("終了"), {K(Qt::CTRL | Qt::Key_Q)});

    actions_[Mirror]->setCheckable(true);
    // Checked while the underlay is shown weaker than it is; its text says how strong.
    actions_[UnderlayStrength]->setCheckable(true);
    placements_ = new QActionGroup(this);
    for (Id id : {PlaceAsLoaded, PlaceFitted, PlaceFilled}) {
        actions_[id]->setCheckable(true);
        placements_->addAction(actions_[id]);
    }
    actions_[PlaceAsLoaded]->setChecked(true);

    for (int i = 0; i < Count; ++i) {
        QAction *a = actions_[i];
        // Anywhere in the window; the size fields take Ctrl with a letter themselves.
        a->setShortcutContext(Qt::WindowShortcut);
        window->addAction(a);
        connect(a, &QAction::triggered, this, [run, i] { run(Id(i)); });
    }
}

QAction *CommandList::add(Id id, const QString &caption, const QList<QKeySequence> &keys)
{
    auto *a = new QAction(caption, this);
    a->setShortcuts(keys);
    actions_[id] = a;
    return a;
}

void CommandList::nameSteps(const QString &undo, const QString &redo)
{
    actions_[Undo]->setText(undo.isEmpty() ? kUndo : QStringLiteral("%1（%2）").arg(kUndo, undo));
    actions_[Redo]->setText(redo.isEmpty() ? kRedo : QStringLiteral("%1（%2）").arg(kRedo, redo));
    actions_[Undo]->setEnabled(!undo.isEmpty());
    actions_[Redo]->setEnabled(!redo.isEmpty());
}

void CommandList::popUpMenu(QWidget *over, const QPoint &globalPos)
{
    QMenu menu(over);
    const auto group = [&](std::initializer_list<Id> ids) {
        if (!menu.isEmpty())
            menu.addSeparator();
        for (Id id : ids)
            menu.addAction(actions_[id]);
    };
    group({Undo, Redo});
    group({Copy, Paste, Post});
    group({Save, SaveAs, Open, OpenLast});
    group({Convert});
    QMenu *placement = menu.addMenu(QStringLiteral("下絵の配置"));
    for (Id id : {PlaceAsLoaded, PlaceFitted, PlaceFilled})
        placement->addAction(actions_[id]);
    menu.addAction(actions_[UnderlayStrength]);
    group({Invert, FlipLeftRight, FlipTopBottom, TurnClockwise, TurnAnticlockwise});
    QMenu *shift = menu.addMenu(QStringLiteral("ずらす"));
    for (Id id : {ShiftLeft, ShiftRight, ShiftUp, ShiftDown})
        shift->addAction(actions_[id]);
    group({Mirror});
    group({Help, Quit});
    // The keyboard goes back where it was when the menu closes, also where nothing but the
    // program itself gives it back (no window manager).
    const QPointer<QWidget> focus = QApplication::focusWidget();
    menu.exec(globalPos);
    const auto giveBack = [focus] {
        if (focus && QApplication::activeWindow() != focus->window() && !QApplication::activePopupWidget()
            && !QApplication::activeModalWidget()) {
            focus->window()->activateWindow();
            focus->setFocus(Qt::PopupFocusReason);
        }
    };
    giveBack();
    // And once the window system has had its say about the menu going.
    QTimer::singleShot(0, window_, giveBack);
}

QList<CommandList::Row> CommandList::helpRows() const
{
    QList<Row> rows;
    for (const QAction *a : actions_) {
        QStringList keys;
        for (const QKeySequence &k : a->shortcuts())
            keys << k.toString(QKeySequence::NativeText);
        QString what = a->text();
        what.remove(QStringLiteral("..."));
        rows.append({keys.join(QStringLiteral(" / ")), what});
    }
    // What the canvas takes itself while it has the focus.
    rows.append({QStringLiteral("← → ↑ ↓"), QStringLiteral("キャンバスのカーソルを1ドット動かす")});
    rows.append({QStringLiteral("Home / End / PgUp / PgDown"), QStringLiteral("カーソルを左端・右端・上端・下端へ")});
    rows.append({QStringLiteral("Space"), QStringLiteral("カーソルの点を黒く塗る（押したまま動かすと続けて塗る）")});
    rows.append({QStringLiteral("Del / Backspace"), QStringLiteral("カーソルの点を白く塗る（下絵を出す）")});
    rows.append({QStringLiteral("Shift+クリック"), QStringLiteral("最後に塗った点からクリックした点まで直線を引く")});
    // The framing of "dots from the underlay", while its window is open.
    rows.append({QStringLiteral("← → ↑ ↓（Ctrl+T の間）"), QStringLiteral("下絵を1ドット動かす")});
    rows.append({QStringLiteral("+ / −（Ctrl+T の間）"), QStringLiteral("下絵を1.25倍に拡大・縮小（キャンバスの中央を中心に）")});
    rows.append({QStringLiteral("0（Ctrl+T の間）"), QStringLiteral("下絵をキャンバスに合わせ直す")});
    rows.append({QStringLiteral("ドラッグ / ホイール（Ctrl+T の間）"), QStringLiteral("キャンバスで下絵を動かす / ポインターを中心に拡大・縮小")});
    return rows;
}
