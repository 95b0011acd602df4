#include "Offers.h"

#include "pictures/DecodeBudget.h"
#include "waylandOffer.h"

#include <algorithm>

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMimeData>

#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>
#include <poll.h>
#include <cstdlib>
#include <cstring>
#define GRIDGLYPH_X11 1
#endif

namespace {

// Data a Qt QMimeData holds or fetches: a drop, or the clipboard of a platform other than
// X11, or of this very process.
class QtOffer : public OfferSource
{
public:
    explicit QtOffer(const QMimeData *data) : data_(data) {}

    std::optional<QStringList> types() override
    {
        // Asked once: on X11, Qt asks the owner again on every call that it does not answer.
        if (!types_)
            types_ = data_ ? data_->formats() : QStringList();
        return types_;
    }

    Fetched fetch(const QString &type) override
    {
        Fetched f;
        if (!data_ || !types()->contains(type))
            return f;
        f.bytes = data_->data(type);
        ++work_.requests;
        work_.bytes += f.bytes.size();
        f.status = f.bytes.size() > mostOfferedBytes(type) ? Status::TooLarge
                   : f.bytes.isEmpty()                        ? Status::Missing
                                                              : Status::Ok;
        if (f.status != Status::Ok)
            f.bytes.clear();
        return f;
    }

    QImage ownImage() override
    {
        // Only data made in this process: Qt would decode another program's image itself,
        // outside the loader and its budget.
        if (!own_ || !data_ || !data_->hasImage())
            return {};
        return qvariant_cast<QImage>(data_->imageData());
    }

    bool own_ = false;

private:
    const QMimeData *data_;
    std::optional<QStringList> types_;
};

#ifdef GRIDGLYPH_X11
template<typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

// A selection read on a connection of our own: Qt waits five seconds for every request and
// then asks again, follows an owner that trickles data for as long as it trickles, and
// allocates whatever size an owner announces.
class X11Offer : public OfferSource
{
public:
    static std::unique_ptr<X11Offer> open(const char *selection)
    {
        auto offer = std::unique_ptr<X11Offer>(new X11Offer(selection));
        return offer->c_ ? std::move(offer) : nullptr;
    }

    ~X11Offer() override
    {
        if (c_)
            xcb_disconnect(c_);
    }

    std::optional<QStringList> types() override
    {
        if (types_)
            return types_;
        // A type list is some atoms: a few kilobytes at the very most.
        Fetched f = convert(atom("TARGETS"), 64 * 1024);
        if (f.status == Status::NoAnswer)
            return std::nullopt;
        QStringList names;
        if (f.status == Status::Ok) {
            const auto *atoms = reinterpret_cast<const xcb_atom_t *>(f.bytes.constData());
            const qsizetype n = std::min<qsizetype>(f.bytes.size() / 4, 1024);
            std::vector<xcb_get_atom_name_cookie_t> cookies;
            for (qsizetype i = 0; i < n; ++i)
                cookies.push_back(xcb_get_atom_name(c_, atoms[i]));
            for (auto cookie : cookies) {
                Reply<xcb_get_atom_name_reply_t> r(xcb_get_atom_name_reply(c_, cookie, nullptr), &std::free);
                if (r)
                    names << QString::fromLatin1(xcb_get_atom_name_name(r.get()), xcb_get_atom_name_name_length(r.get()));
            }
        } else if (fallbackTypes_) {
            names = *fallbackTypes_;
        }
        types_ = names;
        return types_;
    }

    Fetched fetch(const QString &type) override
    {
        if (!types() || !types_->contains(type))
            return {};
        return convert(atom(type.toLatin1().constData()), mostOfferedBytes(type));
    }

    // What to offer when the owner has no type list of its own (a drag source that told its
    // types when the drag entered).
    void setFallbackTypes(const QStringList &types) { fallbackTypes_ = types; }

private:
    explicit X11Offer(const char *selection)
    {
        c_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(c_)) {
            xcb_disconnect(c_);
            c_ = nullptr;
            return;
        }
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
        window_ = xcb_generate_id(c_);
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
        property_ = atom("GRIDGLYPH_PASTE");
        selection_ = atom(selection);
        incr_ = atom("INCR");
        clock_.start();
    }

    xcb_atom_t atom(const char *name)
    {
        Reply<xcb_intern_atom_reply_t> r(
            xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, uint16_t(std::strlen(name)), name), nullptr), &std::free);
        return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    // The next event for our window, or nothing once the offer's time is up. The time is
    // one time-out from the start, and a data transfer that flows earns more of it: a
    // second for every 32 MB that arrived. An owner that trickles a byte now and then
    // still ends within about one time-out.
    Reply<xcb_generic_event_t> nextEvent()
    {
        for (;;) {
            if (xcb_generic_event_t *e = xcb_poll_for_event(c_))
                return Reply<xcb_generic_event_t>(e, &std::free);
            if (xcb_connection_has_error(c_))
                return Reply<xcb_generic_event_t>(nullptr, &std::free);
            const qint64 allowed = budget::kClipboardTimeoutMs + work_.bytes / (32 << 20) * 1000;
            const qint64 left = allowed - clock_.elapsed();
            if (left <= 0) {
                ++work_.timeouts;
                return Reply<xcb_generic_event_t>(nullptr, &std::free);
            }
            pollfd fd{xcb_get_file_descriptor(c_), POLLIN, 0};
            ::poll(&fd, 1, int(std::min<qint64>(left, 100)));
        }
    }

    // The whole value of our property, deleted as it is read; nothing when it is gone, or
    // (with `tooLarge` set) when it is longer than `limit`, which is known before any of it
    // is read.
    std::optional<std::pair<xcb_atom_t, QByteArray>> takeProperty(qint64 limit, bool *tooLarge)
    {
        const auto get = [this](uint32_t offset, uint32_t longs) {
            return Reply<xcb_get_property_reply_t>(
                xcb_get_property_reply(c_, xcb_get_property(c_, 0, window_, property_, XCB_GET_PROPERTY_TYPE_ANY,
                                                           offset, longs), nullptr),
                &std::free);
        };
        const auto drop = [this] {
            xcb_delete_property(c_, window_, property_);
            xcb_flush(c_);
        };
        const Reply<xcb_get_property_reply_t> size = get(0, 0);
        if (!size || size->type == XCB_ATOM_NONE)
            return std::nullopt;
        if (qint64(size->bytes_after) > limit) {
            *tooLarge = true;
            drop();
            return std::nullopt;
        }
        QByteArray value;
        value.reserve(qsizetype(size->bytes_after));
        const xcb_atom_t type = size->type;
        for (uint32_t offset = 0;;) {
            const Reply<xcb_get_property_reply_t> r = get(offset, 1 << 18);
            if (!r || r->type == XCB_ATOM_NONE)
                return std::nullopt;
            const int length = xcb_get_property_value_length(r.get());
            if (value.size() + qint64(length) + qint64(r->bytes_after) > limit) {
                *tooLarge = true;
                drop();
                return std::nullopt;
            }
            value.append(static_cast<const char *>(xcb_get_property_value(r.get())), length);
            offset += uint32_t(length / 4);
            if (r->bytes_after == 0)
                break;
        }
        drop();
        return std::make_pair(type, value);
    }

    Fetched convert(xcb_atom_t target, qint64 limit)
    {
        Fetched f;
        f.status = Status::NoAnswer;
        ++work_.requests;
        xcb_delete_property(c_, window_, property_);
        xcb_convert_selection(c_, window_, selection_, target, property_, XCB_CURRENT_TIME);
        xcb_flush(c_);
        bool tooLarge = false;
        for (;;) {
            Reply<xcb_generic_event_t> e = nextEvent();
            if (!e)
                return f;
            if ((e->response_type & 0x7F) != XCB_SELECTION_NOTIFY)
                continue;
            const auto *notify = reinterpret_cast<const xcb_selection_notify_event_t *>(e.get());
            if (notify->requestor != window_ || notify->target != target)
                continue;
            if (notify->property == XCB_ATOM_NONE) {
                f.status = Status::Missing; // the owner has no such data after all
                return f;
            }
            break;
        }
        auto first = takeProperty(limit, &tooLarge);
        if (!first) {
            f.status = tooLarge ? Status::TooLarge : Status::Missing;
            return f;
        }
        if (first->first == incr_ && first->second.size() >= 4
            && qint64(*reinterpret_cast<const quint32 *>(first->second.constData())) > limit) {
            f.status = Status::TooLarge;
            return f;
        }
        if (first->first != incr_) {
            f.status = Status::Ok;
            f.bytes = std::move(first->second);
            work_.bytes += f.bytes.size();
            return f;
        }
        // Incremental transfer: the owner puts the data in pieces, each taken by deleting it,
        // until an empty one. What it announced is only a lower bound, and never allocated;
        // each piece is weighed as it comes, so an owner that never stops is cut off at the
        // limit.
        QByteArray data;
        for (;;) {
            Reply<xcb_generic_event_t> e = nextEvent();
            if (!e)
                return f;
            if ((e->response_type & 0x7F) != XCB_PROPERTY_NOTIFY)
                continue;
            const auto *p = reinterpret_cast<const xcb_property_notify_event_t *>(e.get());
            if (p->window != window_ || p->atom != property_ || p->state != XCB_PROPERTY_NEW_VALUE)
                continue;
            auto piece = takeProperty(limit - data.size(), &tooLarge);
            if (!piece) {
                f.status = tooLarge ? Status::TooLarge : Status::Missing;
                return f;
            }
            if (piece->second.isEmpty())
                break;
            data.append(piece->second);
            work_.bytes += piece->second.size();
        }
        f.status = Status::Ok;
        f.bytes = std::move(data);
        return f;
    }

    xcb_connection_t *c_ = nullptr;
    xcb_window_t window_ = 0;
    xcb_atom_t property_ = XCB_ATOM_NONE, selection_ = XCB_ATOM_NONE, incr_ = XCB_ATOM_NONE;
    std::optional<QStringList> types_;
    std::optional<QStringList> fallbackTypes_;
    QElapsedTimer clock_;
};
#endif

ClipboardOfferMaker &offerMaker()
{
    static ClipboardOfferMaker maker;
    return maker;
}

} // namespace

qint64 mostOfferedBytes(const QString &type)
{
    return type.startsWith(QLatin1String("image/"), Qt::CaseInsensitive) ? budget::kMostOfferedPictureBytes
                                                                          : budget::kMostOfferedTextBytes;
}

void setClipboardOfferMaker(ClipboardOfferMaker maker) { offerMaker() = std::move(maker); }

std::unique_ptr<OfferSource> x11SelectionOffer(const char *selection)
{
#ifdef GRIDGLYPH_X11
    return X11Offer::open(selection);
#else
    (void)selection;
    return nullptr;
#endif
}

std::unique_ptr<OfferSource> clipboardOffer(QClipboard::Mode mode)
{
    if (offerMaker())
        return offerMaker()(mode);
    QClipboard *clipboard = QGuiApplication::clipboard();
    const bool owned = mode == QClipboard::Selection ? clipboard->ownsSelection() : clipboard->ownsClipboard();
#ifdef GRIDGLYPH_X11
    if (QGuiApplication::platformName() == QLatin1String("xcb") && !owned)
        if (std::unique_ptr<X11Offer> x11 = X11Offer::open(mode == QClipboard::Selection ? "PRIMARY" : "CLIPBOARD"))
            return x11;
#endif
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        if (std::unique_ptr<OfferSource> wayland = waylandSelectionOffer(mode)) {
            // The program's own selection is read through Qt, which holds it: read here, the
            // window's thread that must send it would be waiting. Qt may still think it holds
            // one another program has replaced since: the compositor's list of types tells.
            const QMimeData *own = owned ? clipboard->mimeData(mode) : nullptr;
            const QStringList ownFormats = own ? own->formats() : QStringList();
            const std::optional<QStringList> types = wayland->types();
            const bool ours = types && !ownFormats.isEmpty()
                              && std::all_of(ownFormats.begin(), ownFormats.end(),
                                             [&types](const QString &t) { return types->contains(t); });
            if (!ours)
                return wayland;
        }
    auto offer = std::make_unique<QtOffer>(clipboard->mimeData(mode));
    // A decoded picture is taken as it is only when this process made it: its own
    // clipboard, or a platform without other programs (offscreen, as in the tests).
    const QString platform = QGuiApplication::platformName();
    offer->own_ = owned || platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
    return offer;
}

std::unique_ptr<OfferSource> dropOffer(const QMimeData *data, bool fromThisProgram)
{
#ifdef GRIDGLYPH_X11
    // A drop from another program: its data through the same bounded reader. The types it
    // told when the drag entered stand in for a drag source without a type list.
    if (QGuiApplication::platformName() == QLatin1String("xcb") && data && !fromThisProgram)
        if (std::unique_ptr<X11Offer> x11 = X11Offer::open("XdndSelection")) {
            x11->setFallbackTypes(data->formats());
            return x11;
        }
#endif
    return mimeOffer(data);
}

std::unique_ptr<OfferSource> mimeOffer(const QMimeData *data) { return std::make_unique<QtOffer>(data); }
