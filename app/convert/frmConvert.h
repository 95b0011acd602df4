#pragma once

#include "conversion.h"

#include <QDialog>
#include <QList>
#include <QPair>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QShortcut;
class QSlider;
class Underlay;

// The small window of "dots from the underlay": where the underlay lies and how it is framed,
// the threshold (automatic, or by a slider), the dither and inversion. Every change is shown
// at once on the canvas by its owner; OK (Enter) keeps the result, Cancel (Escape) takes it
// back. The framing: the arrows move the picture by a dot, + and - scale it by 1.25 about the
// canvas's middle, 0 fits it again; on the canvas, a drag moves it and the wheel scales it
// about the pointer (the owner hands those on).
class frmConvert : public QDialog
{
    Q_OBJECT

public:
    // `wholePicture`: the underlay can lie fitted or filled.
    frmConvert(QWidget *owner, bool wholePicture);
    ~frmConvert() override;

    QComboBox *cboPlacement = nullptr;
    QCheckBox *chkAutomatic = nullptr;
    QSlider *sldThreshold = nullptr;
    QLabel *lblThreshold = nullptr;
    QComboBox *cboDither = nullptr;
    QCheckBox *chkInvert = nullptr;
    QComboBox *cboColour = nullptr;
    QSlider *sldBrightness = nullptr;
    QSlider *sldContrast = nullptr;
    QCheckBox *chkSharpen = nullptr;
    QLabel *lblHelp = nullptr;

    // Shows the window beside its owner, starting from `framing` on a picture of `dots` dots.
    void start(const Framing &framing, QSize dots);
    ConvertSettings settings() const;
    // The settings the last conversion kept (this session or an earlier one), and where the
    // underlay lay: what the window opens with.
    static ConvertSettings remembered();
    // Keeps them for the next conversion, and the next start.
    static void remember(const ConvertSettings &settings);
    // Turns the underlay into dots with the window's settings; shows the threshold used.
    Conversion::Result convert(Underlay &underlay, QSize dots, int dotSize);

    // The framing: moved by `dots`, scaled by `factor` about `at` (dots from the canvas's
    // middle), fitted again. A picture lying as loaded is fitted first; one too large to be
    // had whole is not framed.
    void moveBy(QPointF dots);
    void zoomBy(double factor, QPointF at = {});
    void fitAgain();
    // The framing keys, as the canvas hands them on: true when the key was one of them.
    bool takeKey(int key);
    // The canvas's mouse and keys while this window is open (positions in canvas pixels): a
    // drag moves the picture with the pointer, to the fraction of a dot; a notch of the wheel
    // scales it by 1.25 about the pointer; Enter keeps the result and Escape takes it back.
    void canvasPress(int button, QPointF at);
    void canvasMove(int buttons, QPointF at, int dotSize);
    void canvasRelease();
    void canvasWheel(int angleDelta, QPointF at, QSizeF canvas, int dotSize);
    bool canvasKey(int key);
    // The keys and what they do, for the help window.
    static QList<QPair<QString, QString>> keyRows();

    static constexpr double kZoomStep = 1.25;

signals:
    void settingsChanged(const ConvertSettings &settings);
    // U: the canvas's underlay stronger or weaker (the conversion reads it whole).
    void strengthAsked();

private:
    void changed();
    void frame(const Framing &framing);

    Conversion conversion_;
    Framing framing_;
    QSize canvas_; // in dots: what the framing's moves are measured on
    bool wholePicture_;
    bool showing_ = false;
    // Where a drag on the canvas was last.
    std::optional<QPointF> dragFrom_;
    // The arrows' shortcuts, off while a control that uses the arrows has the focus.
    QList<QShortcut *> arrows_;
    QMetaObject::Connection focusWatch_;
};
