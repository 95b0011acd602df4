#include "start.h"

#include "app.h"
#include "commandLineText.h"
#include "frmMain.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

QByteArray environment(const char *name) { return qgetenv(name); }

bool x11Reachable()
{
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    const bool ok = c && xcb_connection_has_error(c) == 0;
    if (c)
        xcb_disconnect(c);
    return ok;
}

bool waylandReachable()
{
    QByteArray socketName = environment("WAYLAND_DISPLAY");
    if (socketName.isEmpty())
        socketName = "wayland-0";
    if (!socketName.startsWith('/')) {
        const QByteArray runtime = environment("XDG_RUNTIME_DIR");
        if (runtime.isEmpty())
            return false;
        socketName = runtime + '/' + socketName;
    }
    sockaddr_un address{};
    if (size_t(socketName.size()) >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketName.constData(), size_t(socketName.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool ok = fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}

// Whether the window system Qt is about to ask for is there: without one, Qt would end the
// process with an abort and a page of its own. Platforms that need no display pass.
bool displayReachable()
{
    QList<QByteArray> platforms;
    const QByteArray chosen = environment("QT_QPA_PLATFORM");
    if (!chosen.isEmpty()) {
        for (const QByteArray &p : chosen.split(';'))
            platforms << p.split(':').constFirst().trimmed();
    } else {
        if (environment("XDG_SESSION_TYPE") == "wayland")
            platforms << "wayland";
        platforms << "xcb";
    }
    for (const QByteArray &p : platforms) {
        if (p == "xcb") {
            if (x11Reachable())
                return true;
        } else if (p.startsWith("wayland")) {
            if (waylandReachable())
                return true;
        } else if (!p.isEmpty()) {
            return true;
        }
    }
    return false;
}

} // namespace

extern "C" __attribute__((visibility("default"))) int gridglyph_start(int *argc, char **argv, const CommandLine *line)
{
    // The conversions need neither a display nor an application object: no window exists.
    if (line->action == CommandLine::Text)
        return runTextCommand(*line, answersInJapanese(*line));
    if (line->action == CommandLine::Png)
        return runPngCommand(*line, answersInJapanese(*line));

    if (!displayReachable()) {
        const QByteArray display = environment("WAYLAND_DISPLAY").isEmpty()
                                       ? "DISPLAY=" + environment("DISPLAY")
                                       : "WAYLAND_DISPLAY=" + environment("WAYLAND_DISPLAY");
        const QString message = answersInJapanese(*line)
                                    ? QStringLiteral("gridglyph: 画面に接続できません: %1\n").arg(QString::fromLocal8Bit(display))
                                    : QStringLiteral("gridglyph: cannot open a display (%1)\n").arg(QString::fromLocal8Bit(display));
        std::fputs(message.toLocal8Bit().constData(), stderr);
        return 1;
    }

    QApplication app(*argc, argv);
    setUpApplication(app, line->language);
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
