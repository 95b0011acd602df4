#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class MultiLineTextBox;

// Shows the dot picture as text. It is made anew for every opening and destroyed when
// closed. It knows nothing of the main window: it is given where its text comes from and
// whom to tell that it loaded and unloaded (the main window is disabled exactly while it
// is loaded).
class frmResult : public QWidget
{
    Q_OBJECT

public:
    struct Source
    {
        // The picture as text, built when the window loads; nothing when the size fields
        // do not read as numbers.
        std::function<std::optional<QString>()> text;
        // Called with true as the window loads and with false as it unloads.
        std::function<void(bool loaded)> loaded;
        // Where the message for an unreadable size is shown.
        QWidget *messageParent = nullptr;
        // Opens the posting window, from the text box's context menu; none when empty.
        std::function<void()> post;
    };

    explicit frmResult(Source source);

    MultiLineTextBox *txtDot = nullptr;

    // The show request of the two triggers: loads the window unless it is loaded (its load
    // handler builds the text), then shows it. Qt's show() only makes it visible.
    void Show();
    bool isLoaded() const { return loaded_; }

    void Form_Load();
    void Form_Resize();
    void Form_Unload();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    Source source_;
    bool loaded_ = false;
};
