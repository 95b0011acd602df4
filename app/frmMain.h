#pragma once

#include "convert/underlay.h"

#include <QEvent>
#include <QMargins>
#include <QPointer>
#include <QSize>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class CommandList;
class OfferSource;
class PictureBox;
class PictureHistory;
class PictureSource;
class Recovery;
class Stroke;
class UnderlayLoading;
struct PictureRequest;
class TextBox;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class frmConvert;
class frmHelp;
class frmPost;
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

    // The commands beyond the panel (commands/commandList.h).
    CommandList *commands() const { return commands_; }
    void undo();
    void redo();
    // Ctrl+C: the picture's text, exactly as the result window shows it, on the clipboard.
    void copyText();
    // Ctrl+V: a text of dots becomes the picture; an image or a picture file the underlay.
    void paste();
    // A picture file named on the command line: loaded as a dropped one would be.
    void openPicture(const QString &path);
    // A saved picture, text or image, becomes the picture (Ctrl+O).
    void openFile(const QString &path);
    // A file named on the command line: a picture file is the underlay, as it always was;
    // any other, a saved text of dots, becomes the picture.
    void openFromCommandLine(const QString &path);
    // Ctrl+S (`ask` false: to the file saved last, when there is one) and Ctrl+Shift+S.
    void save(bool ask);
    // Ctrl+O: a saved picture, text or image, becomes the picture.
    void open();
    // Ctrl+Shift+O: the picture the last program had when it ended.
    void openLast();
    // At start: a picture that a program which did not end normally left behind is
    // offered back.
    void offerRecovery();
    // The file open now, if any: where Ctrl+S saves again.
    QString openFileName() const { return savedPath_; }
    Recovery *recovery() const { return recovery_.get(); }
    // Runs `then` once the window was first painted on the screen.
    void whenShown(std::function<void()> then);
    // Pictures being read for the underlay (large ones on a worker thread).
    UnderlayLoading *underlayLoading() const { return loading_; }
    void setPlacement(Placement placement);
    Placement placement() const { return underlay_.placement(); }
    // Ctrl+T: the window that turns the underlay into dots, with a preview on the canvas.
    void showConvert();
    frmConvert *convertWindow() const;
    // Ctrl+E: the picture's text for posting.
    void showPost();
    frmPost *postWindow() const;
    // The posting window, when open, shown the picture as it is now.
    void refreshPost();
    void showHelp();
    frmHelp *helpWindow() const;
    // The whole-picture changes, each one undo step.
    void invert();
    void flipLeftRight();
    void flipTopBottom();
    void shiftBy(int dx, int dy);
    void turn(bool clockwise);
    // M: every dot painted is painted at its left-right mirror too.
    void setMirror(bool on);
    bool mirror() const { return mirror_; }
    // The keyboard's cell cursor on the canvas.
    QPoint cursorDot() const { return cursor_; }

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
    // Keys on the canvas: the cursor and keyboard painting. KeyCode is Qt's key.
    void picDot_KeyDown(int KeyCode, int Shift, bool repeated);
    void picDot_KeyUp(int KeyCode, int Shift, bool repeated);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildLayout();
    void describeForAssistiveTechnology();
    void connectHandlers();
    void runCommand(int id);
    void showResult();
    // Brings the open result window to the front; false when there is none.
    bool raiseResult();
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
    // The one-cell paint of every stroke: the dot, and its mirror while mirror drawing.
    void strokePaint(int button, QPoint dot);
    // The dot under a canvas position when it lies inside the picture.
    std::optional<QPoint> dotInPicture(float X, float Y) const;
    void endStroke();
    // Replaces the picture as shown by `change` of it, as one undo step named `name`, and
    // redraws once; `swapSize` swaps the texts of the size fields too (a quarter turn).
    void replacePicture(const QString &name, const std::function<QImage(const QImage &)> &change,
                        bool swapSize = false);
    // The picture as it is shown, at the fields' size; nothing (and the message) when they
    // do not read.
    std::optional<QImage> shownPicture();
    // Makes a loaded picture the underlay, or tells the user why there is none; `name`
    // says where it came from. True when the holder took it.
    bool takeUnderlay(const std::shared_ptr<PictureSource> &picture, const QString &name);
    // Reads `request` for the underlay (on a worker when it is large) and takes it; `then`
    // runs on the window's thread afterwards with whether the holder took it, also when the
    // user stopped the reading.
    void loadUnderlay(const PictureRequest &request, const QString &name, std::function<void(bool taken)> then);
    // The same for a picture opened, pasted or dropped: once taken, the underlay is switched
    // on and shown.
    void loadUnderlayAndShow(const PictureRequest &request, const QString &name);
    // Pasted or dropped: text of dots, or a picture for the underlay (switched on, shown).
    void takeOffer(OfferSource &source, const QString &owner, const QString &unnamed);
    // A text of dots becomes the picture. `opened`: it came from a file opened, not from a
    // paste or a drop.
    enum class TextTaken { NotDotText, Refused, Picture };
    TextTaken takeDotText(const QString &text, bool opened = false);
    // `dots` becomes the picture, its size in the size fields, as one undo step `name`.
    void takePicture(const QImage &dots, const QString &name);
    // The picture at the size the fields give, as Ctrl+C copies it; nothing (and the
    // message) when they do not read.
    std::optional<QImage> picturePerFields();
    // The picture at `size`, every dot beyond it white.
    QImage pictureAt(QSize size) const;
    void moveCursorTo(QPoint dot);
    void showMarks();
    // What the canvas tells assistive technology: the cursor's dot and its colour.
    QString canvasValue() const;
    // The command of the placement checked; nothing redrawn.
    void showPlacement(Placement placement);
    // U: the underlay shown at full strength, half, a quarter.
    void cycleStrength();
    // While the conversion window is open: everything of this window but the canvas still.
    void setConverting(bool on);
    // A mouse event (`type`, the buttons, where) or a wheel (`wheelDelta`) on the canvas that
    // frames the underlay while the conversion window is open: true when it did.
    bool frameWithCanvas(QEvent::Type type, int button, QPointF at, int wheelDelta = 0);
    // Brings the underlay holder in line with where the underlay lies on `canvas`.
    void placeUnderlay(QSize canvas);
    // Where the keyboard was when one of the program's other windows opened, and the way
    // back there when it closes: this window activated again and the focus where it was,
    // also where no window manager gives it back (a minimal desktop, a kiosk).
    void rememberFocus();
    void returnFocus();
    // Every command that acts on something the window may lack (an underlay, a picture with
    // dots) enabled exactly while it is there, so that its keys, the menu and F1 agree.
    void showCommandStates();

    QPointer<frmResult> result_;
    QPointer<frmConvert> convert_;
    QPointer<frmPost> post_;
    QPointer<frmHelp> help_;
    std::unique_ptr<PictureHistory> history_;
    std::unique_ptr<Recovery> recovery_;
    // The title: the file open, and whether the picture changed since it was saved or opened.
    void showTitle();
    // The recovery copy cannot be written: the user is told, once until it can again.
    void tellCannotKeep(const QString &folder);

    // Where Ctrl+S saves again, and the type the save dialog chose last (1 text, 2 picture);
    // the picture's text as it was saved or opened there.
    QString savedPath_;
    QString savedText_;
    int savedType_ = 1;
    std::unique_ptr<Stroke> stroke_;
    CommandList *commands_ = nullptr;
    UnderlayLoading *loading_ = nullptr;
    Underlay underlay_;
    std::optional<Underlay::HolderKey> holderKey_;
    // The window manager's frame as it was when the window was last fitted.
    QMargins fittedFrame_;
    bool mirror_ = false;
    QPoint cursor_;
    bool cursorShown_ = false;
    // The key (Space or Delete) whose press-to-release is a keyboard stroke.
    int strokeKey_ = 0;
    // What the conversion window began from, for a cancel.
    Framing framingBeforeConvert_;
    // The user chose where the underlay lies (a placement command, or a conversion kept).
    bool placementChosen_ = false;
    // Where a drag that frames the underlay was last.
    std::optional<QPointF> dragFrom_;
    // Ctrl+T came while a picture was being read: the window opens once it is taken.
    bool convertWhenRead_ = false;
    QPointer<QWidget> focusBefore_;
    std::function<void()> whenShown_;
};
