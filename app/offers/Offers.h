#pragma once

#include <QByteArray>
#include <QImage>
#include <QStringList>

#include <memory>
#include <optional>

class QMimeData;

// Where pasted or dropped data comes from: a list of types, and the data of one type at a
// time, fetched only when asked for. Every fetch is bounded: in time (a program that holds
// the clipboard and does not answer costs one time-out) and in size (DecodeBudget.h).
class OfferSource
{
public:
    virtual ~OfferSource() = default;

    enum class Status { Ok, NoAnswer, TooLarge, Missing };
    struct Fetched
    {
        Status status = Status::Missing;
        QByteArray bytes;
    };

    // The types on offer; nothing when the owner did not answer.
    virtual std::optional<QStringList> types() = 0;
    virtual Fetched fetch(const QString &type) = 0;
    // A picture this process itself put on offer, decoded already; null otherwise.
    virtual QImage ownImage() { return {}; }
};

// The clipboard. On X11 it is read on a connection of the program's own, so that the time
// it waits and the size it takes are the program's to bound; elsewhere, and when the
// program itself holds the clipboard, through Qt.
std::unique_ptr<OfferSource> clipboardOffer();

// What a drop carries. Asking for data asks the drag source, so only a drop should.
std::unique_ptr<OfferSource> mimeOffer(const QMimeData *data);
