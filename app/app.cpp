#include "app.h"

#include "toolkit/MsgBox.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

void setUpApplication(QApplication &app)
{
    QApplication::setApplicationName(QString::fromLatin1(kAppTitle));
    QApplication::setApplicationVersion(QStringLiteral("1.10"));
    // No display name: Qt would append it to every window title, and each window's
    // caption is exactly as the program gives it.
    QApplication::setDesktopFileName(QStringLiteral("org.gridglyph.GridGlyph"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/gridglyph/org.gridglyph.GridGlyph.png")));

    // The interface is Japanese whatever the system's language, Qt's own dialogs too.
    auto *qtJapanese = new QTranslator(&app);
    if (qtJapanese->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtJapanese);
}
