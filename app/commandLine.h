#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for. It is read before any window exists, so that --help and
// --version answer without a display.
struct CommandLine
{
    enum Action { Run, PrintAndExit };
    Action action = Run;
    // For Run: the picture file to load as the underlay once the window shows, if any.
    QString file;
    // For PrintAndExit: what to print, where, and the exit status.
    QString output;
    bool toStandardError = false;
    int exitCode = 0;
};

// `arguments` as the process got them, the program's own name first. `japanese`: the usage
// is written in Japanese (the user's locale is Japanese), else in English.
CommandLine parseCommandLine(const QStringList &arguments, bool japanese);

// Whether the locale the user set in the environment is Japanese.
bool localeIsJapanese();
