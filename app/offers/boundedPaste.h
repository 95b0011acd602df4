#pragma once

#include <QClipboard>
#include <QObject>

#include <functional>

class QMenu;
class QWidget;

// Every text box of the program pastes through the same bounded reader as the main window:
// Ctrl+V, Shift+Insert and the other paste keys, the middle button (the primary selection)
// and the paste of the box's context menu. An owner of the clipboard that does not answer,
// trickles or offers too much costs one time-out or one limit and a message, never a wait on
// the toolkit's own time-out; and no box is ever handed an offer that is not there (which
// crashed Qt's text boxes). The context menu is the box's usual one, made without asking the
// clipboard whether it holds anything (asking a frozen owner would wait on it too).
class BoundedPasting : public QObject
{
    Q_OBJECT

public:
    // Installed once for the whole application; `tell` shows a message over a box's window.
    static void install(std::function<void(QWidget *window, const QString &message)> tell);
    // The text a paste into `box` inserts, read through the bounded reader: nothing when
    // there is none (the message already told).
    static std::optional<QString> read(QWidget *box, QClipboard::Mode mode);
    // The usual edit menu of `box` (a QLineEdit or a QPlainTextEdit), paste through read().
    static QMenu *editMenu(QWidget *box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
};
