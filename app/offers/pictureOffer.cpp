#include "pictureOffer.h"

#include "pictures/DecodeBudget.h"
#include "pictures/PictureFile.h"
#include "Offers.h"
#include "toolkit/MsgBox.h"

#include <QCoreApplication>

#include <QDir>
#include <QStringDecoder>
#include <QUrl>

namespace {

// In order of preference: UTF-8 first, as the X11 atoms and MIME types name it.
const char *const kTextTypes[] = {"text/plain;charset=utf-8", "UTF8_STRING", "text/plain", "STRING", "TEXT"};
const char *const kImageTypes[] = {"image/png", "image/bmp", "image/x-bmp", "image/x-MS-bmp", "image/jpeg",
                                   "image/jpg", "image/pjpeg", "image/gif"};
const char *const kFileList = "text/uri-list";
const char *const kOwnImage = "application/x-qt-image";

template<typename Wanted>
QString firstOf(const QStringList &types, const Wanted &wanted)
{
    for (const char *w : wanted)
        for (const QString &t : types)
            if (t.compare(QLatin1String(w), Qt::CaseInsensitive) == 0)
                return t;
    return {};
}

QString otherImageType(const QStringList &types)
{
    for (const QString &t : types)
        if (t.startsWith(QLatin1String("image/")))
            return t;
    return {};
}

QString noAnswer(const QString &owner)
{
    return QCoreApplication::translate("pictureOffer", "%1のプログラムが応答しませんでした。何も読み込んでいません。").arg(owner);
}

QString tooLarge(const QString &owner, const QString &type)
{
    const qint64 most = mostOfferedBytes(type);
    const QString limit = most >= (1 << 20) ? QStringLiteral("%1 MB").arg(most >> 20) : QStringLiteral("%1 KB").arg(most >> 10);
    return QCoreApplication::translate("pictureOffer", "%1のデータが大きすぎるため読み込めませんでした（%2 まで）。").arg(owner, limit);
}

} // namespace

bool offersSomething(const QStringList &types)
{
    return !firstOf(types, kTextTypes).isEmpty() || !otherImageType(types).isEmpty()
           || types.contains(QLatin1String(kFileList)) || types.contains(QLatin1String(kOwnImage));
}

namespace {

QString troubleMessage(OfferSource::Status status, const QString &owner, const QString &type)
{
    return status == OfferSource::Status::TooLarge ? tooLarge(owner, type) : noAnswer(owner);
}

bool failed(OfferSource::Status status)
{
    return status == OfferSource::Status::NoAnswer || status == OfferSource::Status::TooLarge;
}

QString textOf(const QString &type, const QByteArray &bytes)
{
    if (type == QLatin1String("STRING"))
        return QString::fromLatin1(bytes);
    // UTF-8, unless a byte order mark says UTF-16 (a text saved by a Windows editor and put
    // on the clipboard as it is); the mark itself is no part of the text.
    QStringDecoder decode(QStringConverter::encodingForData(bytes).value_or(QStringConverter::Utf8));
    QString text = decode(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

// The local file a line of a file list names, its name kept as the bytes the URL encodes
// (a name need not be UTF-8); nothing for a remote one.
std::optional<QString> localFile(const QByteArray &entry)
{
    const QUrl url = QUrl::fromEncoded(entry);
    if (!url.isLocalFile())
        return std::nullopt;
    return fileNameFromBytes(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

} // namespace

PastedText takeText(OfferSource &source, const QString &owner)
{
    PastedText pasted;
    const std::optional<QStringList> offered = source.types();
    if (!offered) {
        pasted.message = noAnswer(owner);
        return pasted;
    }
    const QString type = firstOf(*offered, kTextTypes);
    if (type.isEmpty())
        return pasted;
    const OfferSource::Fetched f = source.fetch(type);
    if (failed(f.status))
        pasted.message = troubleMessage(f.status, owner, type);
    else if (f.status == OfferSource::Status::Ok)
        pasted.text = textOf(type, f.bytes);
    return pasted;
}

TakenOffer takeOffer(OfferSource &source, QSize shown, const QString &owner, const QString &unnamed,
                     const std::function<bool(const QString &text)> &useText)
{
    TakenOffer taken;
    const auto trouble = [&taken, &owner](OfferSource::Status status, const QString &type) {
        taken.kind = TakenOffer::Message;
        taken.message = troubleMessage(status, owner, type);
        return taken;
    };
    const std::optional<QStringList> offered = source.types();
    if (!offered)
        return trouble(OfferSource::Status::NoAnswer, {});
    const QStringList &types = *offered;

    if (const QString type = firstOf(types, kTextTypes); !type.isEmpty()) {
        const OfferSource::Fetched f = source.fetch(type);
        if (failed(f.status))
            return trouble(f.status, type);
        if (f.status == OfferSource::Status::Ok) {
            if (useText(textOf(type, f.bytes))) {
                taken.kind = TakenOffer::TextUsed;
                return taken;
            }
            taken.textLeft = true;
        }
    }
    if (const QString type = firstOf(types, kImageTypes); !type.isEmpty()) {
        const OfferSource::Fetched f = source.fetch(type);
        if (failed(f.status))
            return trouble(f.status, type);
        if (f.status == OfferSource::Status::Ok) {
            taken.kind = TakenOffer::Picture;
            taken.name = unnamed;
            taken.request = pictureFromData(f.bytes, shown);
            return taken;
        }
    }
    if (types.contains(QLatin1String(kFileList))) {
        const OfferSource::Fetched f = source.fetch(QLatin1String(kFileList));
        if (failed(f.status))
            return trouble(f.status, QLatin1String(kFileList));
        // The first local file of the list, as file managers give them; remote ones are
        // not fetched.
        for (const QByteArray &line : f.bytes.split('\n')) {
            const QByteArray entry = line.trimmed();
            if (entry.isEmpty() || entry.startsWith('#'))
                continue;
            if (const std::optional<QString> path = localFile(entry)) {
                taken.kind = TakenOffer::Picture;
                taken.name = shownFileName(QDir::toNativeSeparators(*path));
                taken.request = pictureFromFile(*path, shown);
                taken.path = *path;
                return taken;
            }
        }
        return taken;
    }
    if (const QImage own = source.ownImage(); !own.isNull()) {
        taken.kind = TakenOffer::Picture;
        taken.name = unnamed;
        taken.request = pictureFromImage(own, shown);
        return taken;
    }
    if (const QString other = otherImageType(types); !other.isEmpty()) {
        taken.kind = TakenOffer::Message;
        taken.message = QCoreApplication::translate("pictureOffer", "%1 の画像は読み込めません（読み込めるのは BMP・JPEG・GIF・PNG です）。").arg(other);
    }
    return taken;
}

void takeOfferInto(OfferSource &source, QSize shown, const QString &owner, const QString &unnamed, const OfferTakers &takers)
{
    const TakenOffer taken = takeOffer(source, shown, owner, unnamed, takers.useText);
    switch (taken.kind) {
    case TakenOffer::Nothing:
        if (taken.textLeft)
            MsgBox(takers.window, QCoreApplication::translate("offers", "%1のテキストは絵の文字（■と□など）ではないため、何も変わりません。").arg(owner));
        return;
    case TakenOffer::TextUsed:
        return;
    case TakenOffer::Message:
        MsgBox(takers.window, taken.message);
        return;
    case TakenOffer::Picture:
        if (!taken.path.isEmpty() && takers.isOwnPicture(taken.path))
            takers.openPicture(taken.path);
        else
            takers.underlay(taken.request, taken.name);
        return;
    }
}
