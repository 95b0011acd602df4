#pragma once

#include <QWidget>

class frmMain;
class MultiLineTextBox;

// Shows the dot picture as text. It is made anew for every opening and destroyed when
// closed; the main window stays disabled exactly while it is loaded.
class frmResult : public QWidget
{
    Q_OBJECT

public:
    explicit frmResult(frmMain &main);

    MultiLineTextBox *txtDot = nullptr;

    // Loads the window (building the text) unless it is loaded already, and shows it.
    void Show();
    bool isLoaded() const { return loaded_; }

    void Form_Load();
    void Form_Resize();
    void Form_Unload();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    frmMain &main_;
    bool loaded_ = false;
};
