#include "MultiLineTextBox.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocumentFragment>

namespace {

QString withCrLf(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

} // namespace

MultiLineTextBox::MultiLineTextBox(QWidget *parent) : QPlainTextEdit(parent) {}

QString MultiLineTextBox::text() const { return withCrLf(toPlainText()); }

void MultiLineTextBox::setText(const QString &text)
{
    QString lines = text;
    setPlainText(lines.replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

QMimeData *MultiLineTextBox::createMimeDataFromSelection() const
{
    auto *data = new QMimeData;
    data->setText(withCrLf(textCursor().selection().toPlainText()));
    return data;
}

bool MultiLineTextBox::canInsertFromMimeData(const QMimeData *source) const
{
    return source && QPlainTextEdit::canInsertFromMimeData(source);
}

void MultiLineTextBox::insertFromMimeData(const QMimeData *source)
{
    if (source)
        QPlainTextEdit::insertFromMimeData(source);
}

void MultiLineTextBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu(event->pos());
    if (!actions().isEmpty()) {
        menu->addSeparator();
        menu->addActions(actions());
    }
    menu->exec(event->globalPos());
    delete menu;
}
