// Keeping the picture: saving it, opening it again, and the recovery copy.
#include "frmMain.h"

#include "dotImage.h"
#include "functions/Functions.h"
#include "keeping/recovery.h"
#include "keeping/safeWrite.h"
#include "keeping/savedPicture.h"
#include "pictures/PictureFile.h"
#include "result/dotText.h"
#include "sizeEntry.h"
#include "toolkit/MsgBox.h"
#include "toolkit/TextBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

std::optional<QImage> frmMain::picturePerFields()
{
    const std::optional<QSize> size = entrySize();
    if (!size) {
        MsgBox(this, invalidSizeMessage());
        return std::nullopt;
    }
    // As Ctrl+C writes it: the fields' size.
    return pictureAt(*size);
}

void frmMain::save(bool ask)
{
    const std::optional<QImage> picture = picturePerFields();
    if (!picture)
        return;
    SaveTarget target{savedPath_, savedPath_.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)};
    if (ask || savedPath_.isEmpty()) {
        const QString suggested = savedPath_.isEmpty() ? QStringLiteral("絵") : QFileInfo(savedPath_).completeBaseName();
        const QString folder = savedPath_.isEmpty() ? QDir::currentPath() : QFileInfo(savedPath_).absolutePath();
        int type = savedType_;
        const QString chosen = ShowSaveDialog(this, savedPictureFilter(), folder, suggested, type);
        if (chosen.isEmpty())
            return;
        target = saveTarget(chosen, type);
        savedType_ = target.png ? 2 : 1;
    }
    const QByteArray bytes = target.png ? picturePng(*picture) : pictureText(*picture).toUtf8();
    if (const std::optional<QString> trouble = writeWhole(target.path, bytes, shownFileName(QDir::toNativeSeparators(target.path)))) {
        MsgBox(this, *trouble);
        return;
    }
    savedPath_ = target.path;
}

void frmMain::open()
{
    const QString path = ShowOpenDialog(this, openPictureFilter(), QDir::currentPath());
    if (!path.isEmpty())
        openFile(path);
}

void frmMain::openFile(const QString &path)
{
    const QString name = shownFileName(QDir::toNativeSeparators(path));
    // Opened as the loader opens pictures: a pipe or a device never makes this wait.
    FileTrouble trouble = FileTrouble::None;
    const std::unique_ptr<QIODevice> device = openPictureFile(path, nullptr, &trouble);
    if (!device) {
        const QString why = trouble == FileTrouble::Missing        ? QStringLiteral("「%1」が見つかりません。")
                            : trouble == FileTrouble::Folder       ? QStringLiteral("「%1」はフォルダーです。ファイルを指定してください。")
                            : trouble == FileTrouble::NoPermission ? QStringLiteral("「%1」を読む権限がありません。")
                                                                   : QStringLiteral("「%1」を読み込めませんでした。");
        MsgBox(this, why.arg(name));
        return;
    }
    if (device->size() > kMostSavedBytes) {
        MsgBox(this, QStringLiteral("「%1」は絵のファイルとしては大きすぎます（%2 MB）。").arg(name).arg(device->size() >> 20));
        return;
    }
    const QByteArray bytes = device->readAll();
    const bool image = pictureFormatOf(bytes) != PictureFormat::None;
    if (image) {
        const OpenedPicture opened = readSavedPicture(bytes, builtInPairs(), kLargestSide);
        if (opened.dots.isNull()) {
            MsgBox(this, QStringLiteral("「%1」を開けませんでした。").arg(name) + opened.message);
            return;
        }
        takePicture(opened.dots, QStringLiteral("絵を開く"));
    } else {
        // Read as a paste is read, the user asked where two characters need it.
        const TextTaken taken = takeDotText(QString::fromUtf8(bytes), true);
        if (taken == TextTaken::NotDotText)
            MsgBox(this, QStringLiteral("「%1」を開けませんでした。このファイルは絵のテキストでも画像でもありません。").arg(name));
        if (taken != TextTaken::Picture)
            return;
    }
    savedPath_ = path;
    savedType_ = image ? 2 : 1;
}

void frmMain::openFromCommandLine(const QString &path)
{
    const std::unique_ptr<QIODevice> device = openPictureFile(path);
    if (!device || pictureFormatOf(device.get()) != PictureFormat::None)
        openPicture(path);
    else
        openFile(path);
}

void frmMain::openLast()
{
    const std::optional<QImage> last = recovery_->lastPicture();
    if (!last || last->isNull()) {
        MsgBox(this, QStringLiteral("前回の絵はありません。"));
        return;
    }
    takePicture(*last, QStringLiteral("前回の絵を開く"));
}

void frmMain::offerRecovery()
{
    QStringList setAside;
    const std::optional<Recovery::LeftBehind> left = recovery_->newestLeftBehind(&setAside);
    for (const QString &aside : setAside)
        MsgBox(this, QStringLiteral("前回の絵の控えが読めなかったため、復元せずに次の場所へ移しました。\n%1")
                         .arg(QDir::toNativeSeparators(aside)));
    if (!left)
        return;
    const int answer = MsgBoxAsk(this, QStringLiteral("前回、保存されずに終わった絵があります。復元しますか？"),
                                 {QStringLiteral("はい"), QStringLiteral("いいえ")}, 0);
    if (answer == 0) {
        takePicture(left->dots, QStringLiteral("前回の絵の復元"));
        recovery_->restored(*left);
    } else {
        recovery_->declined(*left);
    }
}
