#include "commandLine.h"
#include "pictures/PictureFile.h"
#include "start.h"

#include <QByteArray>
#include <QFileInfo>

#include <cstdio>
#include <dlfcn.h>

namespace {

// Where a part of the program lies: beside this file where it was built, else in the private
// folder of the library directory it was installed with.
void *openPart(const QString &name)
{
    const QString here = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    for (const QString &path : {here + QLatin1Char('/') + name,
                                here + QStringLiteral("/" GRIDGLYPH_REST_FROM_BINDIR "/") + name}) {
        if (!QFileInfo::exists(path))
            continue;
        if (void *rest = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL))
            return rest;
        std::fprintf(stderr, "gridglyph: %s\n", dlerror());
        return nullptr;
    }
    std::fprintf(stderr, "gridglyph: %s is missing; reinstall the program\n", qPrintable(name));
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
    // --text of a plain JPEG file needs nothing of the window: the small part answers, or
    // leaves it to the rest.
    if (line.action == CommandLine::Text && line.input != QLatin1String("-") && !line.options.colour) {
        using TextFunction = int (*)(const CommandLine *, bool);
        void *text = openPart(QStringLiteral(GRIDGLYPH_TEXT_NAME));
        const auto quick = text ? reinterpret_cast<TextFunction>(dlsym(text, "gridglyph_text")) : nullptr;
        if (const int status = quick ? quick(&line, answersInJapanese(line)) : -1; status >= 0)
            return status;
    }
    void *rest = openPart(QStringLiteral(GRIDGLYPH_REST_NAME));
    const auto start = rest ? reinterpret_cast<StartFunction>(dlsym(rest, "gridglyph_start")) : nullptr;
    if (!start)
        return 1;
    return start(&argc, argv, &line);
}
