#include "Functions.h"

#include "toolkit/CommonDialog.h"

#include <QCoreApplication>

QString pictureFileFilter()
{
    const QChar nul(u'\0');
    return QCoreApplication::translate("Functions", "ピクチャーファイル(*.BMP;*.JPG;*.GIF)") + nul
           + QStringLiteral("*.bmp;*.jpg;*.gif") + nul + QCoreApplication::translate("Functions", "全てのﾌｧｲﾙ(*.*)") + nul
           + QStringLiteral("*.*") + nul;
}

QString savedPictureFilter()
{
    const QChar nul(u'\0');
    return QCoreApplication::translate("Functions", "テキスト (*.txt)") + nul + QStringLiteral("*.txt") + nul + QCoreApplication::translate("Functions", "画像 (*.png)") + nul
           + QStringLiteral("*.png") + nul;
}

QString openPictureFilter()
{
    const QChar nul(u'\0');
    return QCoreApplication::translate("Functions", "絵のテキストと画像 (*.txt;*.png)") + nul + QStringLiteral("*.txt;*.png") + nul
           + QCoreApplication::translate("Functions", "全てのﾌｧｲﾙ(*.*)") + nul + QStringLiteral("*.*") + nul;
}

QString ShowSaveDialog(QWidget *hwndOwner, const QString &filter, const QString &initialDir,
                       const QString &suggested, int &filterIndex)
{
    constexpr DWORD kBufferSize = 256;
    OPENFILENAME ofn;
    ofn.lStructSize = kOpenFileNameSizeV1;
    ofn.hwndOwner = hwndOwner;
    ofn.hInstance = QCoreApplication::instance();
    ofn.lpstrFilter = filter.toLocal8Bit() + '\0';
    ofn.nFilterIndex = DWORD(filterIndex);
    ofn.lpstrFile = suggested.toLocal8Bit();
    ofn.lpstrFile.append(QByteArray(std::max<qsizetype>(0, kBufferSize - ofn.lpstrFile.size()), '\0'));
    ofn.nMaxFile = DWORD(ofn.lpstrFile.size());
    ofn.lpstrInitialDir = initialDir.toLocal8Bit();
    ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;

    if (GetSaveFileNameA(&ofn) == 0)
        return QString();
    filterIndex = int(ofn.nFilterIndex);
    const QString file = QString::fromLocal8Bit(ofn.lpstrFile);
    const qsizetype end = file.indexOf(QChar(u'\0'));
    return end < 0 ? file : file.left(end);
}

QString ShowOpenDialog(QWidget *hwndOwner, const QString &filter, const QString &initialDir)
{
    constexpr DWORD kBufferSize = 256;
    OPENFILENAME ofn;
    ofn.lStructSize = kOpenFileNameSizeV1;
    ofn.hwndOwner = hwndOwner;
    ofn.hInstance = QCoreApplication::instance();
    // The record speaks the system's 8-bit encoding; the list ends with a second NUL.
    ofn.lpstrFilter = filter.toLocal8Bit() + '\0';
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = QByteArray(kBufferSize, '\0');
    ofn.nMaxFile = kBufferSize;
    ofn.lpstrFileTitle = QByteArray(kBufferSize, '\0');
    ofn.nMaxFileTitle = kBufferSize;
    ofn.lpstrInitialDir = initialDir.toLocal8Bit();
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;

    if (GetOpenFileNameA(&ofn) == 0)
        return QString();
    const QString file = QString::fromLocal8Bit(ofn.lpstrFile);
    const qsizetype end = file.indexOf(QChar(u'\0'));
    return end < 0 ? file : file.left(end);
}
