#pragma once

#include <QString>

class QApplication;
class QWidget;

// The application's name, icon and language: `language` ("en" or "ja") for this run, else
// the one chosen in the window (uiLanguage()), Japanese by default whatever the locale.
void setUpApplication(QApplication &app, const QString &language = QString());
// The language chosen in the window and kept for the next start: "en" or "ja".
QString uiLanguage();
void setUiLanguage(const QString &language);
// The language chosen in the window (`on`, from its menu): kept, and the user told that it
// holds from the next start.
void chooseUiLanguage(QWidget *parent, bool on, const QString &language);
