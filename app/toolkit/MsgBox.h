#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// The program's title, the caption of every message box.
extern const char *const kAppTitle;

// Shows `text` in a modal box with an OK button only and waits until it is closed.
void MsgBox(QWidget *parent, const QString &text);

// Tests answer message boxes here instead of in a modal loop. Pass nullptr to restore.
using MsgBoxHook = std::function<void(const QString &text)>;
void setMsgBoxHook(MsgBoxHook hook);

// The same box asking a question: `text`, and a button for each of `answers`, the one at
// `preferred` the default (Enter). Returns the index of the answer chosen; closing the box
// any other way chooses the last answer (the one that changes nothing).
int MsgBoxAsk(QWidget *parent, const QString &text, const QStringList &answers, int preferred = 0);

// Tests answer questions here: the text and the answers offered in, the index chosen out.
using MsgBoxAskHook = std::function<int(const QString &text, const QStringList &answers)>;
void setMsgBoxAskHook(MsgBoxAskHook hook);
