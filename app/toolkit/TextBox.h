#pragma once

#include <QLineEdit>

#include <functional>

// A single-line text field that hands every typed character to a key-press handler
// before taking it. The handler sees the character's code (ASCII, or a negative value
// for a double-byte character) and may set it to 0 to discard the character.
// Keys that type nothing (arrows, Home, End, Delete) never reach the handler.
class TextBox : public QLineEdit
{
    Q_OBJECT

public:
    using KeyPressHandler = std::function<void(qint16 &keyAscii)>;

    explicit TextBox(QWidget *parent = nullptr);
    void setKeyPressHandler(KeyPressHandler handler) { keyPress_ = std::move(handler); }

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
