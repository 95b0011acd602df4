#pragma once

#include <QMargins>
#include <QPointer>
#include <QSize>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

struct LoadedPicture;
class PictureBox;
class PictureHistory;
class TextBox;
class QMimeData;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class frmResult;

// The editor window. The dot picture lives in picPreview, one pixel per dot; the canvas
// picDot is always rebuilt from it by Draw; the underlay lives in the hidden picTrace.
// The picture's size is held only by the texts of txtWidth and txtHeight.
class frmMain : public QWidget
{
    Q_OBJECT

public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // The largest canvas side there can be: 99 dots at x12.
    static constexpr int kLargestCanvas = 99 * 12;
    static constexpr int kSizeLimit = 48;

    // Editor state.
    std::int32_t DotSize = 0;
    bool Painting = false;

    // Controls, named as the user meets them.
    QGroupBox *Frame1 = nullptr;
    PictureBox *picDot = nullptr;
    PictureBox *picPreview = nullptr;
    PictureBox *picTrace = nullptr;
    // Option buttons in push-button style: checkable push buttons in one exclusive group.
    std::array<QPushButton *, 12> optSize{};
    QButtonGroup *optSizeGroup = nullptr;
    TextBox *txtWidth = nullptr;
    TextBox *txtHeight = nullptr;
    QLabel *lblString = nullptr;
    QCheckBox *chkBar = nullptr;
    QPushButton *cmdCanvas = nullptr;
    QPushButton *cmdClear = nullptr;
    // A check box in push-button style: a checkable push button, shown pressed while on.
    QPushButton *chkTrace = nullptr;
    QPushButton *cmdOK = nullptr;

    // Full redraw of the canvas, and the fit of the window around it.
    void Draw();
    // Paints the one dot under canvas position (X, Y): black for Button 1, else white
    // or the underlay. Never fails outward.
    void DotDraw(std::int16_t Button, float X, float Y);

    // Read dot (x, y) of the picture: black only when its colour is exactly 0.
    bool isBlackDot(int x, int y) const;
    // The open result window, if any.
    frmResult *resultWindow() const;

    // Editing beyond the classic commands: undo and redo one stroke or clear at a time,
    // and an image pasted from the clipboard as the underlay.
    void undo();
    void redo();
    void pasteUnderlay();

    // Event handlers.
    void Form_Load();
    void optSize_Click(int index);
    void chkBar_Click();
    void cmdCanvas_Click();
    void cmdClear_Click();
    void cmdOK_Click();
    void picPreview_Click();
    void chkTrace_Click();
    void txtWidth_KeyPress(std::int16_t &KeyAscii);
    void txtHeight_KeyPress(std::int16_t &KeyAscii);
    void picDot_MouseDown(int Button, int Shift, float X, float Y);
    void picDot_MouseMove(int Button, int Shift, float X, float Y);
    void picDot_MouseUp(int Button, int Shift, float X, float Y);

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildLayout();
    void connectHandlers();
    void showResult();
    // Applies the 48-dot limit to one field, telling the user when it cuts.
    void limitEntry(TextBox *entry);
    // The size the fields ask for, or nothing when either does not read as a number.
    std::optional<QSize> entrySize() const;
    // Draw without reading the size fields: the picture at `size`.
    void drawAt(QSize size);
    QSize pictureSize() const;
    // The last step of Draw: the window's outer size around the canvas.
    void fitWindow();
    // DotDraw's paint of one cell, for a dot already found.
    void paintDot(std::int16_t Button, QPoint dot);
    // The dot under a canvas position when it lies inside the picture.
    std::optional<QPoint> dotInPicture(float X, float Y) const;
    void endStroke();
    // Makes a loaded picture the underlay, or tells the user why there is none; `name`
    // says where it came from. True when the holder took it.
    bool takeUnderlay(LoadedPicture picture, const QString &name);
    // An image dropped or pasted: the underlay, switched on and shown.
    void underlayFrom(const QMimeData *data, const QString &unnamed);

    QPointer<frmResult> result_;
    std::unique_ptr<PictureHistory> history_;
    // The window manager's frame as it was when the window was last fitted.
    QMargins fittedFrame_;
    // The previous pointer position's dot during a stroke, while it lay inside the picture.
    std::optional<QPoint> strokeDot_;
    // The buttons that painted it.
    int strokeButton_ = 0;
};
