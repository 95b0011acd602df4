// Keeping the picture: saving it, opening it again, and the recovery copy.
#include "frmMain.h"

#include "dotImage.h"
#include "functions/Functions.h"
#include "keeping/recovery.h"
#include "keeping/safeWrite.h"
#include "keeping/savedPicture.h"
#include "result/textPairs.h"
#include "result/textReading.h"
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
        QString suggested = savedPath_.isEmpty() ? QStringLiteral("絵") : QFileInfo(savedPath_).completeBaseName();
        QString folder = savedPath_.isEmpty() ? QDir::currentPath() : QFileInfo(savedPath_).absolutePath();
        int type = savedType_;
        for (;;) {
            const QString chosen = ShowSaveDialog(this, savedPictureFilter(), folder, suggested, type);
            if (chosen.isEmpty())
                return;
            // The name asked about is the name written: with the type's extension the dialog
            // never saw.
            target = saveTarget(chosen, type);
            if (pathKind(target.path) != PathKind::File)
                break;
            const QFileInfo existing(target.path);
            const int answer = MsgBoxAsk(this, QStringLiteral("「%1」は既に存在します。上書きしますか？").arg(shownFileName(existing.fileName())),
                                         {QStringLiteral("はい"), QStringLiteral("いいえ")}, 1);
            if (answer == 0)
                break;
            suggested = existing.fileName();
            folder = existing.absolutePath();
        }
        savedType_ = target.png ? 2 : 1;
    }
    const QByteArray bytes = target.png ? picturePng(*picture) : pictureText(*picture).toUtf8();
    if (const std::optional<QString> trouble = writeWhole(target.path, bytes, shownFileName(QDir::toNativeSeparators(target.path)))) {
        MsgBox(this, *trouble);
        return;
    }
    savedPath_ = target.path;
    savedText_ = pictureText(*picture);
    showTitle();
}

void frmMain::showTitle()
{
    // The described caption while no file is open; the file's name and whether the picture
    // changed since it was saved or opened, once one is.
    const QString caption = QStringLiteral("GRIDGLYPH Ver. 1.10");
    if (savedPath_.isEmpty()) {
        setWindowTitle(caption);
        setWindowModified(false);
        return;
    }
    setWindowTitle(QStringLiteral("%1[*] - %2").arg(shownFileName(QFileInfo(savedPath_).fileName()), caption));
    const std::optional<QImage> picture = entrySize() ? std::optional<QImage>(pictureAt(*entrySize())) : std::nullopt;
    setWindowModified(!picture || pictureText(*picture) != savedText_);
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
                                                                   : QStringLiteral("「%1」は普通のファイルではないため開けません。");
        MsgBox(this, why.arg(name));
        return;
    }
    if (device->size() > kMostSavedBytes) {
        MsgBox(this, tooLargeToOpen(name, device->size()));
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
        const TextTaken taken = takeDotText(decodedText(bytes), true);
        if (taken == TextTaken::NotDotText)
            MsgBox(this, QStringLiteral("「%1」を開けませんでした。このファイルは絵のテキストでも画像でもありません。").arg(name));
        if (taken != TextTaken::Picture)
            return;
    }
    savedPath_ = path;
    savedType_ = image ? 2 : 1;
    savedText_ = pictureText(pictureAt(pictureSize()));
    showTitle();
}

void frmMain::openFromCommandLine(const QString &path)
{
    // A picture file is the underlay, as it always was, unless this program saved it: that
    // one is the picture, as Ctrl+O opens it. A saved text of dots is the picture.
    const std::unique_ptr<QIODevice> device = openPictureFile(path);
    if (device && pictureFormatOf(device.get()) != PictureFormat::None && !isOwnPictureFile(path))
        openPicture(path);
    else if (device)
        openFile(path);
    else
        openPicture(path);
}

void frmMain::openLast()
{
    const Recovery::Last last = recovery_->lastPicture();
    if (last.kind == Recovery::Last::Unreadable) {
        MsgBox(this, QStringLiteral("前回の絵のファイルが読めませんでした。\n%1")
                         .arg(QDir::toNativeSeparators(recovery_->folder() + QStringLiteral("/last.txt"))));
        return;
    }
    if (last.kind == Recovery::Last::None) {
        MsgBox(this, QStringLiteral("前回の絵はありません。"));
        return;
    }
    takePicture(last.dots, QStringLiteral("前回の絵を開く"));
}

void frmMain::offerRecovery()
{
    recovery_->checkAtStart();
    const Recovery::Found found = recovery_->lookForLeftBehind();
    // However many copies did not read: one message.
    if (!found.setAside.isEmpty())
        MsgBox(this, QStringLiteral("前回の絵の控えが %1 個読めなかったため、復元せずに次のフォルダーへ移しました。\n%2")
                         .arg(found.setAside.size())
                         .arg(QDir::toNativeSeparators(QFileInfo(found.setAside.constFirst()).absolutePath())));
    if (!found.notMoved.isEmpty())
        MsgBox(this, QStringLiteral("前回の絵の控えが %1 個読めませんでした。別のフォルダーへ移すこともできなかったため、そのままにしてあります。\n%2")
                         .arg(found.notMoved.size())
                         .arg(QDir::toNativeSeparators(found.notMoved.constFirst())));
    if (!found.newest)
        return;
    const int answer = MsgBoxAsk(this, QStringLiteral("前回、保存されずに終わった絵があります。復元しますか？"),
                                 {QStringLiteral("はい"), QStringLiteral("いいえ")}, 0);
    if (answer == 0) {
        takePicture(found.newest->dots, QStringLiteral("前回の絵の復元"));
        recovery_->restored(*found.newest);
    } else {
        recovery_->declined(*found.newest);
    }
}

void frmMain::tellCannotKeep(const QString &folder)
{
    MsgBox(this, QStringLiteral("描いている絵の控えを保存できません（%1）。このまま異常終了すると、絵が失われます。"
                                "保存先のディスクの空きと、フォルダーに書き込めるかどうかを確かめてください。")
                     .arg(QDir::toNativeSeparators(folder)));
}
