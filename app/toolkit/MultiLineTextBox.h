#pragma once

#include <QPlainTextEdit>

// A multi-line text box whose lines end in CR LF: its text and whatever the user copies
// or drags out of it carry CR LF, as a Windows text box's do. (Qt keeps lines as
// paragraphs and would hand out LF alone.)
class MultiLineTextBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit MultiLineTextBox(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);
    // Commands added below the standard ones of the box's context menu: the box's actions.
    void setExtraActions(const QList<QAction *> &actions) { addActions(actions); }

protected:
    QMimeData *createMimeDataFromSelection() const override;
    // An offer that is not there (a clipboard owner that did not answer) inserts nothing.
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
};
