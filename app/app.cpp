#include "app.h"

#include "toolkit/MsgBox.h"
#include "version.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

QString uiLanguage()
{
    return QSettings(QStringLiteral("GRIDGLYPH"), QStringLiteral("GRIDGLYPH")).value(QStringLiteral("language")).toString()
                   == QLatin1String("en")
               ? QStringLiteral("en")
               : QStringLiteral("ja");
}

void setUiLanguage(const QString &language)
{
    QSettings(QStringLiteral("GRIDGLYPH"), QStringLiteral("GRIDGLYPH")).setValue(QStringLiteral("language"), language);
}

void chooseUiLanguage(QWidget *parent, bool on, const QString &language)
{
    if (!on || language == uiLanguage())
        return;
    setUiLanguage(language);
    MsgBox(parent, language == QLatin1String("en")
                       ? QCoreApplication::translate("frmMain", "次に起動したときから英語で表示します。")
                       : QCoreApplication::translate("frmMain", "次に起動したときから日本語で表示します。"));
}

void setUpApplication(QApplication &app, const QString &language)
{
    QApplication::setApplicationName(QString::fromLatin1(kAppTitle));
    QApplication::setApplicationVersion(QStringLiteral(GRIDGLYPH_VERSION));
    // No display name: Qt would append it to every window title, and each window's
    // caption is exactly as the program gives it.
    QApplication::setDesktopFileName(QStringLiteral("org.gridglyph.GridGlyph"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/gridglyph/org.gridglyph.GridGlyph.png")));

    // English only when asked for, for this run or in the window: the program is Japanese
    // whatever the system's language, its own texts from the program and Qt's dialogs alike.
    if ((language.isEmpty() ? uiLanguage() : language) == QLatin1String("en")) {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        auto *english = new QTranslator(&app);
        if (english->load(QStringLiteral(":/gridglyph/gridglyph_en.qm")))
            QApplication::installTranslator(english);
        return;
    }
    // Japanese: Qt's own dialogs too, their texts, and the dates, sizes and file types they
    // show.
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
