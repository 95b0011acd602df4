#include "commandLine.h"
#include "pictures/PictureFile.h"
#include "start.h"

#include <QByteArray>
#include <QFileInfo>

#include <cstdio>
#include <dlfcn.h>

namespace {

// Where the rest of the program lies: beside this file where it was built, else in the
// private folder of the library directory it was installed with.
void *openRest()
{
    const QString here = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    for (const QString &path : {here + QStringLiteral("/" GRIDGLYPH_REST_NAME),
                                here + QStringLiteral("/" GRIDGLYPH_REST_FROM_BINDIR "/" GRIDGLYPH_REST_NAME)}) {
        if (!QFileInfo::exists(path))
            continue;
        if (void *rest = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL))
            return rest;
        std::fprintf(stderr, "gridglyph: %s\n", dlerror());
        return nullptr;
    }
    std::fprintf(stderr, "gridglyph: %s is missing; reinstall the program\n", GRIDGLYPH_REST_NAME);
    return nullptr;
}

} // namespace

int main(int argc, char *argv[])
{
    // Read with Qt Core alone, before anything of the window is loaded: --help and --version
    // need no display and answer at once. A file's name is kept as the bytes the system
    // gave, whatever their encoding.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << fileNameFromBytes(argv[i]);
    const CommandLine line = parseCommandLine(arguments, localeIsJapanese());
    if (line.action == CommandLine::PrintAndExit) {
        std::fputs(line.output.toLocal8Bit().constData(), line.toStandardError ? stderr : stdout);
        return line.exitCode;
    }
    void *rest = openRest();
    const auto start = rest ? reinterpret_cast<StartFunction>(dlsym(rest, "gridglyph_start")) : nullptr;
    if (!start)
        return 1;
    return start(&argc, argv, &line);
}
