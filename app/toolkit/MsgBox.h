#pragma once

#include <QString>

#include <functional>

class QWidget;

// The program's title, the caption of every message box.
extern const char *const kAppTitle;

// Shows `text` in a modal box with an OK button only and waits until it is closed.
void MsgBox(QWidget *parent, const QString &text);

// Tests answer message boxes here instead of in a modal loop. Pass nullptr to restore.
using MsgBoxHook = std::function<void(const QString &text)>;
void setMsgBoxHook(MsgBoxHook hook);
