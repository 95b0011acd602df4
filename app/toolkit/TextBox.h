#pragma once

#include <QLineEdit>

#include <functional>

// A single-line text field that hands every typed character to a key-press handler
// before taking it. The handler sees the character's code (ASCII, or a negative value
// for a double-byte character) and may set it to 0 to discard the character.
// Keys that type nothing (arrows, Home, End, Delete) never reach the handler.
// With a handler, the field keeps only the keys it edits with (Backspace, the arrows, Home,
// End, Delete, Ctrl+A) and what is typed; Ctrl and Alt with any other key are the window's
// shortcuts, wherever the focus is.
class TextBox : public QLineEdit
{
    Q_OBJECT

public:
    using KeyPressHandler = std::function<void(qint16 &keyAscii)>;

    explicit TextBox(QWidget *parent = nullptr);
    void setKeyPressHandler(KeyPressHandler handler) { keyPress_ = std::move(handler); }

signals:
    // Enter or Return was pressed in the field (whatever the handler does with its code).
    void enterPressed();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    bool accepts(QChar c) const;

    KeyPressHandler keyPress_;
};

// The character code a key press types, or 0 when it types nothing.
qint16 keyAsciiOf(const QKeyEvent *event);
