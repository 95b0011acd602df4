#pragma once

#include <QImage>
#include <QString>

class QWidget;
class frmPost;

// A picture's text as the window takes it from a paste, a drop or a file opened: read in the
// pair the posting window's user typed first, then the program's own, the emoji squares in
// colour, braille and the rest (textReading.h); the user asked which character is black where
// a grid of two others needs it, and whether a text in the posting window's characters is
// swapped while its 白と黒を入れ替える is on (its own swapped text is read the right way round
// without asking); what was refused told in the message box over `parent`.
struct TakenText
{
    enum Kind { NotDotText, Refused, Picture };
    Kind kind = NotDotText;
    QImage dots;
    bool colour = false;
};
TakenText takePictureText(QWidget *parent, const QString &text, bool opened, const frmPost *post);
