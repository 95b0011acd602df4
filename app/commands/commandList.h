#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

// Every command beyond the control panel, each declared once (its caption, its keys, where
// the menu shows it, when it can act and what it does): from the declarations come a QAction
// on the window (its keys work anywhere in it but the size fields), the panel's context menu,
// the rows of the help window (F1) and the states of all of them at once.
class CommandList : public QObject
{
    Q_OBJECT

public:
    enum Id {
        Undo, Redo, Copy, Cut, Paste, Save, SaveAs, Open, OpenLast, Convert, Post,
        PlaceAsLoaded, PlaceFitted, PlaceFilled,
        Invert, FlipLeftRight, FlipTopBottom,
        ShiftLeft, ShiftRight, ShiftUp, ShiftDown, TurnClockwise, TurnAnticlockwise,
        Mirror, UnderlayStrength,
        Pen, Fill, Line, Rectangle, FilledRectangle, Ellipse, FilledEllipse, Selection, SmoothCorners,
        Colour, Square1, Square2, Square3, Square4, Square5, Square6, Square7, Square8, Square9,
        LanguageJapanese, LanguageEnglish,
        Help, Quit,
        Count
    };
    // Where the context menu shows a command: groups between separators, and submenus.
    enum class Place { History, Text, File, Convert, Placement, Picture, Shift, Tools, Colours, Drawing, Language, End };
    // What a command needs to act; when it lacks it, it is off in the menu, F1 and its keys.
    enum class Needs { Nothing, UndoStep, RedoStep, Underlay, Dots, Selection, ColourPicture };
    struct Declaration
    {
        Id id;
        const char *caption; // the program's Japanese, translated when shown ("commands")
        QList<QKeySequence> keys;
        Place place;
        Needs needs = Needs::Nothing;
        // Checkable: on or off by itself; in a group: one of its group at a time.
        enum class Check { None, Toggle, Group } check = Check::None;
        std::function<void(bool checked)> run;
    };

    CommandList(QWidget *window, const std::vector<Declaration> &declarations);

    QAction *action(Id id) const { return actions_[id]; }
    // Turns every command on or off by what it needs; `has` says what is there now.
    void updateStates(const std::function<bool(Needs)> &has);
    // Everything off (another window of the program is the one to answer), or as it was.
    void setAllEnabled(bool enabled);

    // The panel's context menu: the commands in groups and submenus.
    void popUpMenu(QWidget *over, const QPoint &globalPos);

    // One row of the help window and the manual page: the keys, and what they do.
    struct Row
    {
        QString keys;
        QString what;
    };
    // Every command, then `more` (what the canvas and the other windows take themselves).
    QList<Row> helpRows(const QList<Row> &more = {}) const;
    // The captions of undo and redo name the step they take back or do again.
    void nameSteps(const QString &undo, const QString &redo);

private:
    QWidget *window_;
    QAction *actions_[Count] = {};
    // In the order declared: the menu's and the help window's.
    std::vector<Id> order_;
    Place places_[Count] = {};
    Needs needs_[Count] = {};
    bool allEnabled_ = true;
};
