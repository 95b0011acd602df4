#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

// How a picture is turned into text on the command line (--text), and a text back into a
// picture (--png): the options as given, checked as far as needs nothing but the command line.
struct TextOptions
{
    QSize size{32, 32};
    // --width or --height alone: that side, the other from the picture's aspect (0: not given).
    int width = 0;
    int height = 0;
    bool fill = false;
    int threshold = -1; // -1: the automatic one
    enum DitherKind { NoDither, Ordered, FloydSteinberg, Atkinson };
    DitherKind dither = NoDither;
    bool invert = false;
    QString pair; // as typed: checked when it is used, as the posting window checks it
    bool braille = false;
    bool colour = false; // --palette emoji: the nine emoji squares
    bool lf = false;
    bool count = false;
};

// What the command line asks for. It is read before any window exists, so that --help,
// --version and the conversions answer without a display.
struct CommandLine
{
    enum Action {
        Run,          // the window
        PrintAndExit, // --help, --version, a mistake
        Text,         // --text: `input` (a picture, "-" standard input) as text on standard output
        Png,          // --png: `input` (a text, "-" standard input) as a PNG written to `pngFile`
    };
    Action action = Run;
    // For Run: the file to open once the window shows, if any.
    QString file;
    // --lang: "en" or "ja" for this run, whatever was chosen in the window; empty when not given.
    QString language;
    // For PrintAndExit: what to print, where, and the exit status.
    QString output;
    bool toStandardError = false;
    int exitCode = 0;
    // For Text and Png.
    QString input;
    QString pngFile;
    TextOptions options;
};

// `arguments` as the process got them, the program's own name first. `japanese`: the usage
// is written in Japanese (the user's locale is Japanese), else in English.
CommandLine parseCommandLine(const QStringList &arguments, bool japanese);

// A mistake on the command line found later (a pair that is no pair): the message, then how
// to ask for help, as every mistake on the command line is told. Status 2.
QString usageMistake(const QString &program, const QString &message, bool japanese);

// Whether the locale the user set in the environment is Japanese.
bool localeIsJapanese();
// Whether the command line's own answers are in Japanese: --lang when given, else the locale.
inline bool answersInJapanese(const CommandLine &line)
{
    return line.language.isEmpty() ? localeIsJapanese() : line.language == QLatin1String("ja");
}
