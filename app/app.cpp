#include "app.h"

#include "toolkit/MsgBox.h"
#include "version.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void setUpApplication(QApplication &app)
{
    QApplication::setApplicationName(QString::fromLatin1(kAppTitle));
    QApplication::setApplicationVersion(QStringLiteral(GRIDGLYPH_VERSION));
    // No display name: Qt would append it to every window title, and each window's
    // caption is exactly as the program gives it.
    QApplication::setDesktopFileName(QStringLiteral("org.gridglyph.GridGlyph"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/gridglyph/org.gridglyph.GridGlyph.png")));

    // The interface is Japanese whatever the system's language, Qt's own dialogs too: their
    // texts, and the dates, sizes and file types they show.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto *qtJapanese = new QTranslator(&app);
    if (qtJapanese->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtJapanese);
    // Installed last, so asked first: the few strings Qt's catalogue lacks.
    auto *ours = new QTranslator(&app);
    if (ours->load(QStringLiteral(":/gridglyph/gridglyph_ja.qm")))
        QApplication::installTranslator(ours);
}
