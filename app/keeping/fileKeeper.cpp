#include "fileKeeper.h"

#include "recovery.h"
#include "safeWrite.h"
#include "savedPicture.h"

#include "functions/Functions.h"
#include "pictures/PictureFile.h"
#include "result/textPairs.h"
#include "result/textReading.h"
#include "sizeEntry.h"
#include "toolkit/MsgBox.h"
#include "version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>

namespace {

QString tr(const char *text) { return QCoreApplication::translate("FileKeeper", text); }

QString shownPath(const QString &path) { return shownFileName(QDir::toNativeSeparators(path)); }

} // namespace

FileKeeper::FileKeeper(Window window) : window_(std::move(window)) {}

void FileKeeper::kept(const QString &path, bool png, const QImage &picture)
{
    path_ = path;
    type_ = png ? 2 : 1;
    savedText_ = pictureText(picture, true);
    if (window_.kept)
        window_.kept();
}

bool FileKeeper::changedSince(const std::optional<QImage> &picture) const
{
    return !path_.isEmpty() && (!picture || pictureText(*picture, true) != savedText_);
}

QString FileKeeper::title() const
{
    const QString caption = programCaption();
    if (path_.isEmpty())
        return caption;
    return QStringLiteral("%1[*] - %2").arg(shownFileName(QFileInfo(path_).fileName()), caption);
}

void FileKeeper::save(bool ask)
{
    const std::optional<QImage> picture = window_.picture();
    if (!picture)
        return;
    SaveTarget target{path_, path_.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)};
    if (ask || path_.isEmpty()) {
        QString suggested = path_.isEmpty() ? tr("絵") : QFileInfo(path_).completeBaseName();
        QString folder = path_.isEmpty() ? QDir::currentPath() : QFileInfo(path_).absolutePath();
        int type = type_;
        for (;;) {
            const QString chosen = ShowSaveDialog(window_.widget, savedPictureFilter(), folder, suggested, type);
            if (chosen.isEmpty())
                return;
            // The name asked about is the name written: with the type's extension the dialog
            // never saw.
            target = saveTarget(chosen, type);
            if (pathKind(target.path) != PathKind::File)
                break;
            const QFileInfo existing(target.path);
            const int answer = MsgBoxAsk(window_.widget, tr("「%1」は既に存在します。上書きしますか？").arg(shownFileName(existing.fileName())),
                                         {tr("はい"), tr("いいえ")}, 1);
            if (answer == 0)
                break;
            suggested = existing.fileName();
            folder = existing.absolutePath();
        }
    }
    const QByteArray bytes = target.png ? picturePng(*picture) : pictureText(*picture, window_.colour && window_.colour()).toUtf8();
    if (const std::optional<QString> trouble = writeWhole(target.path, bytes, shownPath(target.path))) {
        MsgBox(window_.widget, *trouble);
        return;
    }
    kept(target.path, target.png, *picture);
}

void FileKeeper::open()
{
    const QString path = ShowOpenDialog(window_.widget, openPictureFilter(), QDir::currentPath());
    if (!path.isEmpty())
        openFile(path);
}

void FileKeeper::openFile(const QString &path)
{
    const QString name = shownPath(path);
    // Opened as the loader opens pictures: a pipe or a device never makes this wait.
    FileTrouble trouble = FileTrouble::None;
    const std::unique_ptr<QIODevice> device = openPictureFile(path, nullptr, &trouble);
    if (!device) {
        const QString why = trouble == FileTrouble::Missing        ? tr("「%1」が見つかりません。")
                            : trouble == FileTrouble::Folder       ? tr("「%1」はフォルダーです。ファイルを指定してください。")
                            : trouble == FileTrouble::NoPermission ? tr("「%1」を読む権限がありません。")
                                                                   : tr("「%1」は普通のファイルではないため開けません。");
        MsgBox(window_.widget, why.arg(name));
        return;
    }
    if (device->size() > kMostSavedBytes) {
        MsgBox(window_.widget, tooLargeToOpen(name, device->size()));
        return;
    }
    const QByteArray bytes = device->readAll();
    const bool image = pictureFormatOf(bytes) != PictureFormat::None;
    if (image) {
        const OpenedPicture opened = readSavedPicture(bytes, builtInPairs(), kLargestSide, window_.colour && window_.colour());
        if (opened.dots.isNull()) {
            MsgBox(window_.widget, tr("「%1」を開けませんでした。").arg(name) + opened.message);
            return;
        }
        window_.take(opened.dots, tr("絵を開く"));
    } else {
        const Window::Text taken = window_.takeText(decodedText(bytes));
        if (taken == Window::Text::NotDotText)
            MsgBox(window_.widget, tr("「%1」を開けませんでした。このファイルは絵のテキストでも画像でもありません。").arg(name));
        if (taken != Window::Text::Picture)
            return;
    }
    if (const std::optional<QImage> picture = window_.picture())
        kept(path, image, *picture);
}

bool FileKeeper::isUnderlayPicture(const QString &path)
{
    // A picture file is the underlay, as it always was, unless this program saved it.
    const std::unique_ptr<QIODevice> device = openPictureFile(path);
    return !device || (pictureFormatOf(device.get()) != PictureFormat::None && !isOwnPictureFile(path));
}

void FileKeeper::openLast(Recovery &recovery)
{
    const Recovery::Last last = recovery.lastPicture();
    if (last.kind == Recovery::Last::Unreadable) {
        MsgBox(window_.widget, tr("前回の絵のファイルが読めませんでした。\n%1")
                                   .arg(QDir::toNativeSeparators(recovery.folder() + QStringLiteral("/last.txt"))));
        return;
    }
    if (last.kind == Recovery::Last::None) {
        MsgBox(window_.widget, tr("前回の絵はありません。"));
        return;
    }
    window_.take(last.dots, tr("前回の絵を開く"));
}

void FileKeeper::offerRecovery(Recovery &recovery)
{
    recovery.checkAtStart();
    const Recovery::Found found = recovery.lookForLeftBehind();
    // However many copies did not read: one message.
    if (!found.setAside.isEmpty())
        MsgBox(window_.widget, tr("前回の絵の控えが %1 個読めなかったため、復元せずに次のフォルダーへ移しました。\n%2")
                                   .arg(found.setAside.size())
                                   .arg(QDir::toNativeSeparators(QFileInfo(found.setAside.constFirst()).absolutePath())));
    if (!found.notMoved.isEmpty())
        MsgBox(window_.widget, tr("前回の絵の控えが %1 個読めませんでした。別のフォルダーへ移すこともできなかったため、そのままにしてあります。\n%2")
                                   .arg(found.notMoved.size())
                                   .arg(QDir::toNativeSeparators(found.notMoved.constFirst())));
    if (!found.newest)
        return;
    const int answer = MsgBoxAsk(window_.widget, tr("前回、保存されずに終わった絵があります。復元しますか？"),
                                 {tr("はい"), tr("いいえ")}, 0);
    if (answer == 0) {
        window_.take(found.newest->dots, tr("前回の絵の復元"));
        recovery.restored(*found.newest);
    } else {
        recovery.declined(*found.newest);
    }
}

void FileKeeper::tellCannotKeep(const QString &folder)
{
    MsgBox(window_.widget, tr("描いている絵の控えを保存できません（%1）。このまま異常終了すると、絵が失われます。"
                              "保存先のディスクの空きと、フォルダーに書き込めるかどうかを確かめてください。")
                               .arg(QDir::toNativeSeparators(folder)));
}
