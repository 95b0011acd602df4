#pragma once

#include <QString>

#include <functional>
#include <optional>

// The picture as text: one line per row of dots, "■" for a black dot and "□" for every
// other, each line ended by CR LF. The size comes from the size fields' texts: the
// height first, and the width only when there is a row to write, so that a height of 0
// gives "" whatever the width field holds. Nothing when a field needed does not read
// as a number.
std::optional<QString> dotText(const QString &widthText, const QString &heightText,
                               const std::function<bool(int x, int y)> &isBlack);

#include "postText.h"
#include "textPairs.h"

#include <QImage>

// The picture's text as Ctrl+C copies and Ctrl+S saves it, the size of the picture
// (dotImage.h): "■" and "□" as above; or, for a colour picture, each dot its emoji square,
// without a presentation selector (which doubles what some services count).
QString pictureText(const QImage &dots, bool colour = false);
// The character of a dot of a colour picture: its square; any other colour white's.
char32_t squareCharacter(QRgb dot);

// The picture's text for posting (postText.h), of a colour picture too.
QString postText(const QImage &dots, const PostOptions &options);

// The picture without its empty margins: the smallest rectangle that holds every black dot
// (an empty picture when there is none).
QImage trimmed(const QImage &dots);
