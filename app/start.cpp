#include "start.h"

#include "app.h"
#include "commandLineText.h"
#include "frmMain.h"

#include <QApplication>

extern "C" __attribute__((visibility("default"))) int gridglyph_start(int *argc, char **argv, const CommandLine *line)
{
    // The conversions need neither a display nor an application object: no window exists.
    if (line->action == CommandLine::Text)
        return runTextCommand(*line, localeIsJapanese());
    if (line->action == CommandLine::Png)
        return runPngCommand(*line, localeIsJapanese());

    QApplication app(*argc, argv);
    setUpApplication(app);
    frmMain main;
    main.show();
    // The keyboard is the window's from the start, also where no window manager gives it.
    main.activateWindow();
    // Once the window is on the screen, where a window manager placed it (so that a message
    // about it shows over it): a picture left behind by a program that did not end normally
    // is offered back, then the file named is opened, as one dropped on it would be.
    main.whenShown([&main, file = line->file] {
        main.offerRecovery();
        if (!file.isEmpty())
            main.openFromCommandLine(file);
    });
    return app.exec();
}
