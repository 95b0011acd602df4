#pragma once

#include "result/dotText.h"
#include "result/textPairs.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

// A dot picture as a file, and back. Two forms: the text Ctrl+C copies (UTF-8, "■" and "□",
// CR LF after every line) and a picture of one pixel a dot, black and white.

// A saved picture is a few kilobytes: a file far larger is no picture of ours, and is not
// read into memory to find that out.
constexpr qint64 kMostSavedBytes = qint64(8) << 20;

// The picture as a PNG file of W x H pixels, black dots black and the rest white. It says
// in a text chunk that it is this program's picture, and its size, so that it opens as the
// picture wherever it is opened, not as an underlay.
QByteArray picturePng(const QImage &dots);
// Whether the first bytes of a file are a PNG this program saved: its chunk is there and
// tells the size the PNG has.
bool isOwnPicturePng(const QByteArray &head);
// The same for a file, its first bytes read as a picture file is read.
bool isOwnPictureFile(const QString &path);

// Why a file too large to be a saved picture is not opened, in the unit of the limit.
QString tooLargeToOpen(const QString &shownName, qint64 bytes, bool japanese = true);

// What the bytes of a file make: a text of dots read as a paste is read (readPictureText: any
// pair it knows, braille, two characters of one shape named BLACK and WHITE; UTF-8 or UTF-16),
// or a picture of at most `largest` pixels a side read one pixel a dot (darker than middle
// grey black, transparent white). Anything else is refused, and `message` says why; a grid
// of two other characters too, since nobody is there to say which is black.
struct OpenedPicture
{
    QImage dots; // null when refused
    QString message;
};
// `colour`: a picture not saved by this program is read in the nine squares, each pixel the
// nearest; else in black and white. One this program saved in colour is read in colour, exactly.
OpenedPicture readSavedPicture(const QByteArray &bytes, const std::vector<DotPair> &pairs, int largest, bool colour = false);

// The type a saved file is written as: decided by the name's .txt or .png whatever the
// dialog's list showed, else by the type chosen there (1: text, 2: picture), whose
// extension the name then gets.
struct SaveTarget
{
    QString path;
    bool png = false;
};
SaveTarget saveTarget(const QString &typed, int chosenType);
