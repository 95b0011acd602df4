#pragma once

#include "commands/commandList.h"
#include "editing/canvasEditor.h"
#include "editing/pictureHistory.h"

#include <QMargins>
#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class CanvasView;
class ColourMode;
class DotPicture;
class FileKeeper;
class FocusReturn;
class OfferSource;
class PictureBox;
class Recovery;
class TextBox;
class UnderlayControl;
class UnderlayLoading;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class frmConvert;
class frmHelp;
class frmPalette;
class frmPost;
class frmResult;

// The editor window: its state and the wiring of its controls and commands. The picture is
// the document (dotPicture.h), which the canvas picDot, the true-size picture picPreview, the
// posting window and the recovery copy follow; the canvas is rebuilt from it by Draw. The
// picture's size as the user gives it is the texts of txtWidth and txtHeight, which every
// command reads when it runs; the underlay lives in the hidden picTrace.
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

    // The picture, the commands beyond the panel, and what the canvas's tools hold.
    DotPicture *document() const { return picture_; }
    CommandList *commands() const { return commands_; }
    CanvasEditor *editor() const { return editor_; }
    // The program's other windows while they are open.
    frmResult *resultWindow() const;
    frmConvert *convertWindow() const;
    frmPost *postWindow() const;
    frmHelp *helpWindow() const;
    frmPalette *paletteWindow() const;
    // The start: a picture that a program which did not end normally left behind is offered
    // back; a file named on the command line is opened (a picture file as the underlay, as it
    // always was; a text of dots, or a PNG this program saved, as the picture).
    void offerRecovery();
    void openFromCommandLine(const QString &path);
    // Runs `then` once the window was first painted on the screen.
    void whenShown(std::function<void()> then);
    Recovery *recovery() const { return recovery_.get(); }
    // Pictures being read for the underlay (large ones on a worker thread).
    UnderlayLoading *underlayLoading() const;

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
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void connectHandlers();
    std::vector<CommandList::Declaration> declarations();
    // Every command on or off by what it acts on, so that its keys, the menu and F1 agree.
    void updateActions();
    bool has(CommandList::Needs needs) const;

    // The canvas and the true-size picture from the document, and its events.
    void drawAt(QSize size);
    void fitWindow();
    void showMarks();
    bool canvasKey(int key, int shift, bool down, bool repeated);

    // The size the fields ask for, or nothing when either does not read as a number.
    std::optional<QSize> entrySize() const;
    // The picture as its text is written (copy, save, the result and posting windows): the
    // fields' size, every dot beyond the picture white; nothing, and the message, when the
    // fields do not read.
    std::optional<QImage> textPicture();
    void limitEntry(TextBox *entry);

    void step(bool back); // Ctrl+Z (`back`) and Ctrl+Y, never during a stroke or a shape
    void copyText();
    void cutText();
    void paste();
    void takeOffer(OfferSource &source, const QString &owner, const QString &unnamed);
    // A text of dots becomes the picture (a paste, a drop, a file opened).
    enum class TextTaken { NotDotText, Refused, Picture };
    TextTaken takeDotText(const QString &text, bool opened = false);
    void takePicture(const QImage &dots, const QString &name);
    void transform(const QString &name, const std::function<QImage(const QImage &)> &change, bool turns = false);
    void showResult();
    bool raiseResult();
    void showConvert();
    void showPost();
    void refreshPost();
    void showHelp();
    // While the conversion window is open: the rest of this window still, the picture as it
    // was kept for a cancel.
    void setConverting(bool on);

    DotPicture *picture_ = nullptr;
    PictureHistory *history_ = nullptr;
    CanvasEditor *editor_ = nullptr;
    CanvasView *view_ = nullptr;
    CommandList *commands_ = nullptr;
    std::unique_ptr<Recovery> recovery_;
    std::unique_ptr<FileKeeper> keeper_;
    UnderlayControl *underlay_ = nullptr;
    QPointer<frmResult> result_;
    QPointer<frmPost> post_;
    QPointer<frmHelp> help_;
    ColourMode *colour_ = nullptr;
    QMargins fittedFrame_; // the window manager's frame when the window was last fitted
    std::optional<PictureHistory::Before> beforeConvert_; // for a cancel of the conversion
    std::unique_ptr<FocusReturn> focus_;
    std::function<void()> whenShown_;
};
