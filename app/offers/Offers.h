#pragma once

#include <QByteArray>
#include <QClipboard>
#include <QImage>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QMimeData;

// Where pasted or dropped data comes from: a list of types, and the data of one type at a
// time, fetched only when asked for. Every fetch is bounded: in time (a program that holds
// the clipboard or a drag and does not answer, or trickles, costs one time-out for the whole
// offer, well under a second) and in size (a limit for its kind, checked as the data arrives,
// so that an owner that never stops is cut off at the limit; DecodeBudget.h).
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
    // What reading the offer cost, counted: the requests made of the other program, how many
    // of them it left unanswered until the time-out, and the bytes taken in.
    struct Work
    {
        int requests = 0;
        int timeouts = 0;
        qint64 bytes = 0;
    };

    // The types on offer; nothing when the owner did not answer.
    virtual std::optional<QStringList> types() = 0;
    virtual Fetched fetch(const QString &type) = 0;
    // A picture this process itself put on offer, decoded already; null otherwise.
    virtual QImage ownImage() { return {}; }
    Work work() const { return work_; }

protected:
    Work work_;
};

// The most bytes an offer of `type` may hand over: a picture's file, or a text (a picture's
// text with generous room, a file list).
qint64 mostOfferedBytes(const QString &type);

// The clipboard (`mode`: the CLIPBOARD, or the primary selection a middle click pastes). On
// X11 it is read on a connection of the program's own, so that the time it waits and the size
// it takes are the program's to bound; elsewhere, and when the program itself holds it,
// through Qt.
std::unique_ptr<OfferSource> clipboardOffer(QClipboard::Mode mode = QClipboard::Clipboard);

// What a drop carries. On X11 the data of another program's drag is read the same bounded
// way as the clipboard's; a drag from this program, and any drag elsewhere, through Qt.
// Asking for data asks the drag source, so only a drop should.
std::unique_ptr<OfferSource> dropOffer(const QMimeData *data, bool fromThisProgram);

// The same through Qt whatever the platform: what a drop within the program carries.
std::unique_ptr<OfferSource> mimeOffer(const QMimeData *data);

// Tests give the clipboard here owners that answer as scripted; nullptr restores the real one.
using ClipboardOfferMaker = std::function<std::unique_ptr<OfferSource>(QClipboard::Mode mode)>;
void setClipboardOfferMaker(ClipboardOfferMaker maker);

// The X11 selection `selection` ("CLIPBOARD", "PRIMARY", "XdndSelection") read on a
// connection of the program's own; null where there is no X server to connect to.
std::unique_ptr<OfferSource> x11SelectionOffer(const char *selection);
