#include "boundedPaste.h"

#include "Offers.h"
#include "pictureOffer.h"

#include <QCoreApplication>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>

#include <map>
#include <optional>

namespace {

std::function<void(QWidget *, const QString &)> &teller()
{
    static std::function<void(QWidget *, const QString &)> tell;
    return tell;
}

// The boxes the program's users type in, and can paste into.
QLineEdit *lineEdit(QObject *o)
{
    auto *e = qobject_cast<QLineEdit *>(o);
    return e && !e->isReadOnly() && e->isEnabled() ? e : nullptr;
}

QPlainTextEdit *plainTextEdit(QObject *o)
{
    auto *e = qobject_cast<QPlainTextEdit *>(o);
    return e && !e->isReadOnly() && e->isEnabled() ? e : nullptr;
}

// The viewport of a multi-line box gets its mouse events.
QPlainTextEdit *plainTextEditOfViewport(QObject *o)
{
    auto *w = qobject_cast<QWidget *>(o);
    return w ? plainTextEdit(w->parentWidget()) : nullptr;
}

void insertInto(QWidget *box, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(box)) {
        // One line: what a line box can hold of the text (its length limit applies).
        QString one = text;
        one.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
        line->insert(one);
    } else if (auto *edit = qobject_cast<QPlainTextEdit *>(box)) {
        QString lines = text;
        edit->insertPlainText(lines.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    }
}

void pasteInto(QWidget *box, QClipboard::Mode mode)
{
    const QPointer<QWidget> alive(box);
    const std::optional<QString> text = BoundedPasting::read(box, mode);
    if (alive && text && !text->isEmpty())
        insertInto(box, *text);
}

} // namespace

void BoundedPasting::install(std::function<void(QWidget *, const QString &)> tell)
{
    teller() = std::move(tell);
    static BoundedPasting *filter = nullptr;
    if (!filter) {
        filter = new BoundedPasting(qApp);
        qApp->installEventFilter(filter);
    }
}

std::optional<QString> BoundedPasting::read(QWidget *box, QClipboard::Mode mode)
{
    const std::unique_ptr<OfferSource> offer = clipboardOffer(mode);
    const PastedText pasted = takeText(*offer, mode == QClipboard::Selection ? QCoreApplication::translate("boundedPaste", "選択範囲")
                                                                             : QCoreApplication::translate("boundedPaste", "クリップボード"));
    if (!pasted.message.isEmpty() && teller())
        teller()(box ? box->window() : nullptr, pasted.message);
    return pasted.text;
}

QMenu *BoundedPasting::editMenu(QWidget *box)
{
    auto *menu = new QMenu(box);
    // Qt's own captions, in Qt's own words for this language.
    const auto caption = [box](const char *text) {
        return QCoreApplication::translate(qobject_cast<QLineEdit *>(box) ? "QLineEdit" : "QWidgetTextControl", text);
    };
    const auto add = [&](const char *text, bool enabled, auto slot) {
        QAction *a = menu->addAction(caption(text));
        a->setEnabled(enabled);
        // Named as Qt names them: edit-undo, edit-paste, select-all...
        static const std::map<QByteArray, QString> names = {
            {"&Undo", "edit-undo"}, {"&Redo", "edit-redo"}, {"Cu&t", "edit-cut"}, {"&Copy", "edit-copy"},
            {"&Paste", "edit-paste"}, {"Delete", "edit-delete"}, {"Select All", "select-all"}};
        a->setObjectName(names.at(text));
        QObject::connect(a, &QAction::triggered, box, slot);
        return a;
    };
    if (auto *line = qobject_cast<QLineEdit *>(box)) {
        const bool editable = !line->isReadOnly();
        add("&Undo", editable && line->isUndoAvailable(), [line] { line->undo(); });
        add("&Redo", editable && line->isRedoAvailable(), [line] { line->redo(); });
        menu->addSeparator();
        add("Cu&t", editable && line->hasSelectedText() && line->echoMode() == QLineEdit::Normal, [line] { line->cut(); });
        add("&Copy", line->hasSelectedText() && line->echoMode() == QLineEdit::Normal, [line] { line->copy(); });
        add("&Paste", editable, [line] { pasteInto(line, QClipboard::Clipboard); });
        add("Delete", editable && line->hasSelectedText(), [line] { line->del(); });
        menu->addSeparator();
        add("Select All", !line->text().isEmpty(), [line] { line->selectAll(); });
    } else if (auto *edit = qobject_cast<QPlainTextEdit *>(box)) {
        const bool editable = !edit->isReadOnly();
        const bool selected = edit->textCursor().hasSelection();
        add("&Undo", editable && edit->document()->isUndoAvailable(), [edit] { edit->undo(); });
        add("&Redo", editable && edit->document()->isRedoAvailable(), [edit] { edit->redo(); });
        menu->addSeparator();
        add("Cu&t", editable && selected, [edit] { edit->cut(); });
        add("&Copy", selected, [edit] { edit->copy(); });
        add("&Paste", editable, [edit] { pasteInto(edit, QClipboard::Clipboard); });
        add("Delete", editable && selected, [edit] { edit->textCursor().removeSelectedText(); });
        menu->addSeparator();
        add("Select All", !edit->document()->isEmpty(), [edit] { edit->selectAll(); });
    }
    // What the box adds of its own.
    if (!box->actions().isEmpty()) {
        menu->addSeparator();
        menu->addActions(box->actions());
    }
    return menu;
}

bool BoundedPasting::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        QWidget *box = lineEdit(watched) ? static_cast<QWidget *>(lineEdit(watched)) : plainTextEdit(watched);
        if (box && key->matches(QKeySequence::Paste)) {
            pasteInto(box, QClipboard::Clipboard);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::MiddleButton || !QGuiApplication::clipboard()->supportsSelection())
            break;
        // The middle button pastes the primary selection where it is released.
        if (QLineEdit *line = lineEdit(watched)) {
            if (event->type() == QEvent::MouseButtonRelease) {
                line->setCursorPosition(line->cursorPositionAt(mouse->position().toPoint()));
                pasteInto(line, QClipboard::Selection);
            }
            return true;
        }
        if (QPlainTextEdit *edit = plainTextEditOfViewport(watched)) {
            if (event->type() == QEvent::MouseButtonRelease) {
                edit->setTextCursor(edit->cursorForPosition(mouse->position().toPoint()));
                pasteInto(edit, QClipboard::Selection);
            }
            return true;
        }
        break;
    }
    case QEvent::ContextMenu: {
        QWidget *box = lineEdit(watched) ? static_cast<QWidget *>(lineEdit(watched)) : plainTextEdit(watched);
        if (!box)
            box = plainTextEditOfViewport(watched);
        if (!box || box->contextMenuPolicy() != Qt::DefaultContextMenu)
            break;
        QMenu *menu = editMenu(box);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
