#include "TextBox.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace {

qint16 codeOf(QChar c)
{
    // Characters beyond ASCII arrive as double-byte codes, which are negative.
    return c.unicode() < 0x80 ? static_cast<qint16>(c.unicode()) : qint16(-1);
}

} // namespace

qint16 keyAsciiOf(const QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Delete: // X11 reports DEL as typed text, yet it edits like an arrow key
    case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down:
    case Qt::Key_Home: case Qt::Key_End:
        return 0;
    default:
        break;
    }
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    if (ctrl && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
        return static_cast<qint16>(e->key() - Qt::Key_A + 1); // Ctrl+C is code 3, etc.
    if (e->key() == Qt::Key_Backspace)
        return 8;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        return 13;
    if (e->key() == Qt::Key_Escape)
        return 27;
    const QString text = e->text();
    return text.isEmpty() ? qint16(0) : codeOf(text.front());
}

TextBox::TextBox(QWidget *parent) : QLineEdit(parent) {}

bool TextBox::accepts(QChar c) const
{
    qint16 code = codeOf(c);
    if (keyPress_)
        keyPress_(code);
    return code != 0;
}

bool TextBox::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride && keyPress_) {
        auto *key = static_cast<QKeyEvent *>(event);
        // Ctrl+A selects the field's text; Ctrl or Alt with any other key is left to the
        // window's shortcuts (a line edit would keep Ctrl+C, Ctrl+V, Ctrl+Z and the like).
        if (key->matches(QKeySequence::SelectAll)) {
            event->accept();
            return true;
        }
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
            event->ignore();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        emit enterPressed();
    if (keyPress_ && event->matches(QKeySequence::SelectAll)) {
        selectAll();
        event->accept();
        return;
    }
    qint16 code = keyAsciiOf(event);
    if (code != 0 && keyPress_) {
        keyPress_(code);
        if (code == 0) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TextBox::inputMethodEvent(QInputMethodEvent *event)
{
    // Text committed by an input method is typed text too, one character at a time.
    const QString commit = event->commitString();
    if (!commit.isEmpty() && keyPress_) {
        QString kept;
        for (QChar c : commit)
            if (accepts(c))
                kept += c;
        if (kept != commit) {
            QInputMethodEvent filtered(event->preeditString(), event->attributes());
            filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
            QLineEdit::inputMethodEvent(&filtered);
            return;
        }
    }
    QLineEdit::inputMethodEvent(event);
}
