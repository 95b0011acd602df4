#include "app.h"
#include "commandLine.h"
#include "commandLineText.h"
#include "frmMain.h"
#include "pictures/PictureFile.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Read before QApplication exists: --help and --version need no display. A file's name
    // is kept as the bytes the system gave, whatever their encoding.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << fileNameFromBytes(argv[i]);
    const CommandLine line = parseCommandLine(arguments, localeIsJapanese());
    if (line.action == CommandLine::PrintAndExit) {
        std::fputs(line.output.toLocal8Bit().constData(), line.toStandardError ? stderr : stdout);
        return line.exitCode;
    }
    // The conversions need neither a display nor an application object: no window exists.
    if (line.action == CommandLine::Text)
        return runTextCommand(line, localeIsJapanese());
    if (line.action == CommandLine::Png)
        return runPngCommand(line, localeIsJapanese());

    QApplication app(argc, argv);
    setUpApplication(app);
    frmMain main;
    main.show();
    // The keyboard is the window's from the start, also where no window manager gives it.
    main.activateWindow();
    // Once the window is on the screen, where a window manager placed it (so that a message
    // about it shows over it): a picture left behind by a program that did not end normally
    // is offered back, then the file named is opened, as one dropped on it would be.
    main.whenShown([&main, file = line.file] {
        main.offerRecovery();
        if (!file.isEmpty())
            main.openFromCommandLine(file);
    });
    return app.exec();
}
