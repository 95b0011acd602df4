#include "commandList.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCoreApplication>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <map>
#include <optional>

namespace {

QString translated(const char *text) { return QCoreApplication::translate("commands", text); }

// The submenus, and what they are called.
const std::map<CommandList::Place, const char *> kSubmenus = {
    {CommandList::Place::Placement, QT_TRANSLATE_NOOP("commands", "下絵の配置")},
    {CommandList::Place::Shift, QT_TRANSLATE_NOOP("commands", "ずらす")},
    {CommandList::Place::Tools, QT_TRANSLATE_NOOP("commands", "道具")},
    {CommandList::Place::Colours, QT_TRANSLATE_NOOP("commands", "絵文字の色")},
    {CommandList::Place::Language, QT_TRANSLATE_NOOP("commands", "表示言語")},
};

} // namespace

CommandList::CommandList(QWidget *window, const std::vector<Declaration> &declarations)
    : QObject(window), window_(window)
{
    std::map<Place, QActionGroup *> groups;
    for (const Declaration &d : declarations) {
        auto *a = new QAction(translated(d.caption), this);
        a->setShortcuts(d.keys);
        // Anywhere in the window; the size fields take what they type themselves.
        a->setShortcutContext(Qt::WindowShortcut);
        a->setCheckable(d.check != Declaration::Check::None);
        if (d.check == Declaration::Check::Group) {
            QActionGroup *&group = groups[d.place];
            if (!group)
                group = new QActionGroup(this);
            group->addAction(a);
        }
        window->addAction(a);
        connect(a, &QAction::triggered, this, [run = d.run](bool checked) { run(checked); });
        actions_[d.id] = a;
        order_.push_back(d.id);
        places_[d.id] = d.place;
        needs_[d.id] = d.needs;
    }
}

void CommandList::updateStates(const std::function<bool(Needs)> &has)
{
    if (!allEnabled_)
        return;
    for (int i = 0; i < Count; ++i)
        if (actions_[i])
            actions_[i]->setEnabled(needs_[i] == Needs::Nothing || has(needs_[i]));
}

void CommandList::setAllEnabled(bool enabled)
{
    allEnabled_ = enabled;
    if (!enabled)
        for (QAction *a : actions_)
            if (a)
                a->setEnabled(false);
}

void CommandList::nameSteps(const QString &undo, const QString &redo)
{
    actions_[Undo]->setText(undo.isEmpty() ? translated("元に戻す") : translated(QT_TRANSLATE_NOOP("commands", "元に戻す（%1）")).arg(undo));
    actions_[Redo]->setText(redo.isEmpty() ? translated("やり直す") : translated(QT_TRANSLATE_NOOP("commands", "やり直す（%1）")).arg(redo));
}

void CommandList::popUpMenu(QWidget *over, const QPoint &globalPos)
{
    QMenu menu(over);
    // Groups between separators; a submenu sits in the group of the commands before it.
    const auto group = [](Place p) {
        switch (p) {
        case Place::Placement: return int(Place::Convert);
        case Place::Shift: return int(Place::Picture);
        case Place::Colours: return int(Place::Tools);
        case Place::Language: return int(Place::End);
        default: return int(p);
        }
    };
    std::map<Place, QMenu *> submenus;
    int last = -1;
    for (const Id i : order_) {
        QAction *a = actions_[i];
        const Place place = places_[i];
        if (last >= 0 && group(place) != last)
            menu.addSeparator();
        last = group(place);
        const auto sub = kSubmenus.find(place);
        if (sub == kSubmenus.end()) {
            menu.addAction(a);
            continue;
        }
        QMenu *&m = submenus[place];
        if (!m)
            m = menu.addMenu(translated(sub->second));
        m->addAction(a);
    }
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

QList<CommandList::Row> CommandList::helpRows(const QList<Row> &more) const
{
    QList<Row> rows;
    for (const Id i : order_) {
        const QAction *a = actions_[i];
        QStringList keys;
        for (const QKeySequence &k : a->shortcuts())
            keys << k.toString(QKeySequence::NativeText);
        QString what = a->text();
        what.remove(QStringLiteral("..."));
        // A choice without a key says which menu it is in: "English" alone says nothing.
        const auto submenu = kSubmenus.find(places_[i]);
        if (keys.isEmpty() && submenu != kSubmenus.end())
            what = translated(submenu->second) + QStringLiteral(": ") + what;
        rows.append({keys.join(QStringLiteral(" / ")), what});
    }
    return rows + more;
}
