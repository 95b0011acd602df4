#pragma once

#include "commandLine.h"
#include "convert/threshold.h"
#include "result/postText.h"

#include <QByteArray>
#include <QSize>
#include <QString>

// What both ways of answering --text share: the one that reads any picture with the window's
// readers, and the one that decodes a plain JPEG straight into the dots' averages with Qt
// Core alone. Their answers are the same to the byte.

// "gridglyph: " and `message` on standard error.
void tell(const QString &message);
// Writes every byte to `fd`. False when the reader went away (a closed pipe: `head` had its
// lines) or the output failed; `gone` says which.
bool writeAll(int fd, const QByteArray &bytes, bool *gone);
// What the output ending early means: a reader that went away is no failure.
int outputFailed(bool gone, bool japanese);
// The size the text is made at: --size, or one side with the other from the picture's
// aspect, rounded, within the sides a picture can have.
QSize sizeFor(const TextOptions &o, QSize declared);
Dither ditherOf(TextOptions::DitherKind kind);
// --count: each service's count of `text` (the picture's text, lines joined by one line
// feed, as the posting window counts it), whether it fits and the largest picture of the
// same shape that would.
QString budgetReport(QSize dots, const QString &text, const PostOptions &form, bool japanese);
// Said when the picture ended before its last row.
QString cutShortText(const QString &name, bool japanese);
