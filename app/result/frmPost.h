#pragma once

#include "dotText.h"
#include "textPairs.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The picture's text for posting: the characters to write it with, black and white swapped
// for dark themes, empty margins trimmed, the line ends, how long it is for each service and
// whether it fits, and a copy button. Nothing here changes the picture.
class frmPost : public QWidget
{
    Q_OBJECT

public:
    explicit frmPost(QWidget *parent = nullptr);

    QComboBox *cboPair = nullptr;
    QLineEdit *txtPair = nullptr;
    QLabel *lblPairWarning = nullptr;
    QCheckBox *chkSwap = nullptr;
    QCheckBox *chkTrim = nullptr;
    QComboBox *cboLineEnd = nullptr;
    QPlainTextEdit *txtPost = nullptr;
    QLabel *lblLargest = nullptr;
    QPushButton *cmdCopy = nullptr;

    // The picture whose text is shown; shown anew whenever it changes. `colour`: a colour
    // picture, written in its emoji squares.
    void setPicture(const QImage &dots, bool colour = false);
    // While it is open, the picture `picture` gives, now or (`soon`) once the events under
    // way are over, once for however many changes they bring.
    void follow(const std::function<QImage()> &picture, bool colour, bool soon);
    // The text as it stands, and its options.
    QString text() const { return text_; }
    PostOptions options() const;
    // Whether `text` is one this window wrote with black and white swapped: pasted back, it
    // is read the right way round.
    bool wroteSwapped(const QString &text) const;
    // The size of the picture whose braille text `text` is, when this window wrote it: the
    // text alone rounds it up to whole characters.
    std::optional<QSize> brailleSize(const QString &text) const;
    // The pair the user typed, while it is one and chosen: pasted text in it reads back.
    std::optional<DotPair> typedPair() const;
    // One row a service: its name, its count of the limit, fits or not.
    QStringList budgetRows() const;

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void refresh();
    // The text's characters as large as the box shows them whole, up to `largestPixels()`.
    void fitText();
    int largestPixels() const;
    // The window made larger, within the screen, for the text at `pixels` a character.
    void growToShow(int pixels);

    QImage dots_;
    bool colour_ = false;
    QString text_;
    DotPair shownPair_{0, 0};
    QFont pairFont_;
    QString shownText_;
    bool sized_ = false;
    std::pair<QSize, bool> grownFor_; // the picture's size and form the window last grew for
    QGridLayout *budgets_ = nullptr;
    QStringList budgetRows_;
    // The last texts shown swapped, newest first.
    QStringList swapped_;
    // The last braille texts shown and their pictures' sizes, newest first.
    QList<std::pair<QString, QSize>> braille_;
    bool following_ = false;
};

// A font in which both characters of `pair` are drawn by the font itself, equally wide, so
// that the rows of a picture line up; Japanese ones first.
QFont fontForPair(const DotPair &pair, int points);
