#pragma once

#include "conversion.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QSlider;
class Underlay;

// The small window of "dots from the underlay": where the underlay lies, the threshold
// (automatic, or by a slider), the dither and inversion. Every change is shown at once on
// the canvas by its owner; OK (Enter) keeps the result, Cancel (Escape) takes it back.
class frmConvert : public QDialog
{
    Q_OBJECT

public:
    // `wholePicture`: the underlay can lie fitted or filled.
    frmConvert(QWidget *owner, bool wholePicture);

    QComboBox *cboPlacement = nullptr;
    QCheckBox *chkAutomatic = nullptr;
    QSlider *sldThreshold = nullptr;
    QLabel *lblThreshold = nullptr;
    QComboBox *cboDither = nullptr;
    QCheckBox *chkInvert = nullptr;

    // Shows the window beside its owner, starting from `placement`.
    void start(Placement placement);
    ConvertSettings settings() const;
    // Turns the underlay into dots with the window's settings; shows the threshold used.
    Conversion::Result convert(Underlay &underlay, QSize dots, int dotSize);

signals:
    void settingsChanged(const ConvertSettings &settings);

private:
    void changed();

    Conversion conversion_;
    bool wholePicture_;
    bool showing_ = false;
};
