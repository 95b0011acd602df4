#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

// Every command beyond the control panel, in one list: each a QAction with its keys, on the
// window so that its keys work anywhere in it but the size fields, in the panel's context
// menu, and in the help window (F1). The manual page lists the same.
class CommandList : public QObject
{
    Q_OBJECT

public:
    enum Id {
        Undo, Redo, Copy, Paste, Save, SaveAs, Open, OpenLast, Convert, Post,
        PlaceAsLoaded, PlaceFitted, PlaceFilled,
        Invert, FlipLeftRight, FlipTopBottom,
        ShiftLeft, ShiftRight, ShiftUp, ShiftDown, TurnClockwise, TurnAnticlockwise,
        Mirror, UnderlayStrength, Help, Quit,
        Count
    };

    // What each command does, given by the window that has them.
    using Handlers = std::function<void(Id)>;
    CommandList(QWidget *window, Handlers run);

    QAction *action(Id id) const { return actions_[id]; }
    // The panel's context menu: the commands in groups, the undo steps named.
    void popUpMenu(QWidget *over, const QPoint &globalPos);

    // One row of the help window and the manual page: the keys, and what they do.
    struct Row
    {
        QString keys;
        QString what;
    };
    // Every command, and the keys the canvas takes while it has the focus.
    QList<Row> helpRows() const;
    // The names the undo and redo commands show: the step they take back or do again.
    void nameSteps(const QString &undo, const QString &redo);

private:
    QAction *add(Id id, const QString &caption, const QList<QKeySequence> &keys);

    QWidget *window_;
    QAction *actions_[Count] = {};
    QActionGroup *placements_ = nullptr;
};
