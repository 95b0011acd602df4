#pragma once

#include "textPairs.h"

#include <QImage>
#include <QString>

#include <vector>

// A picture's text read back into dots: the text the program writes (CR LF lines of one
// pair, in the posting window's pairs as well) and the same text after it has been through
// other programs (LF or CR line ends, trailing blanks gone or added, lines of unequal length).
struct ReadText
{
    enum Outcome {
        NotDotText,   // no character of any pair: some other text, left alone
        Picture,      // `dots` holds the picture
        BadCharacter, // `line` and `column` (from 1) hold `character`, which is of no pair
        TooLarge,     // `size` is larger than a picture can be
    };
    Outcome outcome = NotDotText;
    QImage dots;
    DotPair pair{};
    int line = 0;
    int column = 0;
    char32_t character = 0;
    QSize size;
    bool braille = false; // read as braille patterns, not as a pair
    // Braille: the last column or row of dots is white, and may be no part of the picture but
    // the padding of whole characters; the size is then the characters' rounded up.
    bool padded = false;
    bool squares = false; // read as the emoji squares in colour
};

// Reads `text` with the first of `pairs` whose characters it holds. Lines end with CR LF,
// LF, CR, U+2028 or U+2029; in a text whose every line end is doubled by a second
// conversion (CR CR LF, LF CR), each of those ends one line. Blanks at the end of a line and
// lines of nothing but blanks before the first and after the last row are ignored; a short
// line is padded with white dots. Each line is a row, each character a dot: the pair's black
// character black, its white one white.
// Pictures of more than `largest` dots a side are refused.
ReadText readDotText(const QString &text, const std::vector<DotPair> &pairs, int largest);

// Reads `text` as braille patterns (textPairs.h): each character a cell of 2 x 4 dots, the
// picture padded with white to whole cells; padding beyond `largest` dots, all white, is
// cut. NotDotText when the text holds no braille pattern.
ReadText readBrailleText(const QString &text, int largest);

// A text of dots in characters of no pair the program knows.
struct OtherText
{
    enum Kind {
        None, // no such text, left alone
        Read, // `read` says what it gave: braille, or a pair of BLACK and WHITE characters
        Ask,  // a grid of two other characters: which is black is the user's to say
    };
    Kind kind = None;
    ReadText read;
    char32_t first = 0, second = 0; // for Ask: the two characters, in the order they come
};
OtherText readOtherText(const QString &text, int largest);

// What the user is told when the text was refused; `opened`: it came from a file opened
// rather than from a paste or a drop.
QString readTextMessage(const ReadText &read, int largest, bool opened = false);

// The bytes of a text as the program reads them: UTF-8, or UTF-16 or UTF-8 after a byte
// order mark, the mark itself dropped.
QString decodedText(const QByteArray &bytes);

// A grid of the nine emoji squares (textPairs.h), each with or without its presentation
// selector, as a colour picture, each dot its square's colour. NotDotText when no square of a
// colour other than black and white is in it; a character of none of them is named.
ReadText readSquaresText(const QString &text, int largest);

// Every way the program reads a picture's text, in one order, for a paste, a drop, a file
// opened, the command line and the recovery copy alike: the pairs in the order given (the
// one the user typed first, then the program's own), the first that reads the whole text
// taken; then the emoji squares in colour; then braille, two characters named BLACK and WHITE, and a grid of two others,
// which the user is asked about.
struct TextIntake
{
    enum Kind {
        NotDotText, // no picture's text at all
        Picture,    // `dots`
        Refused,    // `message` says why
        Ask,        // `first` and `second` make a grid: which is black is the user's to say
    };
    Kind kind = NotDotText;
    QImage dots;
    bool colour = false; // the emoji squares in colour: a colour picture
    bool padded = false; // braille whose size may be rounded up to whole characters
    QString message;
    char32_t first = 0, second = 0;
};
TextIntake readPictureText(const QString &text, const std::vector<DotPair> &pairs, int largest, bool opened = false);
// The question for Ask, and the text read once it is answered (`firstIsBlack`).
QString whichIsBlackQuestion(const TextIntake &asked, bool opened);
TextIntake readAnswered(const QString &text, const TextIntake &asked, bool firstIsBlack, int largest, bool opened = false);

// Whether two texts are the same picture's text, whatever line ends and trailing blanks
// other programs gave them.
bool samePictureText(const QString &a, const QString &b);
