// Writes the fuzzer's seeds: the opening bytes of every large and hostile picture the tests
// load, so that mutation starts from headers that claim huge sizes, progressive scans and
// interlacing rather than from nothing.
#include "pictureFiles.h"

#include <QDir>
#include <QGuiApplication>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QDir dir(app.arguments().value(1, QStringLiteral(".")));
    int n = 0;
    for (const pictureFiles::CorpusFile &file : pictureFiles::largeAndHostileFiles()) {
        const QString name = QString::fromLatin1(file.name).replace(QLatin1Char(' '), QLatin1Char('-'));
        if (!pictureFiles::write(dir.filePath(name), file.make().left(1024)))
            return 1;
        ++n;
    }
    qInfo("%d seeds in %s", n, qPrintable(dir.path()));
    return 0;
}
