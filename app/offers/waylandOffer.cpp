#include "waylandOffer.h"

#include "pictures/DecodeBudget.h"

#include <QElapsedTimer>

#include <wayland-client.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

// The clipboard of a wlroots compositor (sway and others) or KDE's, read on a Wayland
// connection of the program's own through the data-control protocol, which lets a client
// read the selection without a window: Qt reads a pasted offer on the window's thread until
// the other program stops writing, however long that is and however much it writes. The
// protocol's four interfaces are written out here, as wayland-scanner would make them from
// wlr-data-control-unstable-v1: they are short, and no package of the distribution ships its
// description.

namespace {

extern const wl_interface managerInterface;
extern const wl_interface deviceInterface;
extern const wl_interface sourceInterface;
extern const wl_interface offerInterface;

const wl_interface *kTypes[] = {
    nullptr,          nullptr,          &sourceInterface, &deviceInterface, &wl_seat_interface,
    &sourceInterface, &offerInterface,  &offerInterface,  &sourceInterface, &offerInterface,
};

const wl_message kManagerRequests[] = {
    {"create_data_source", "n", kTypes + 2},
    {"get_data_device", "no", kTypes + 3},
    {"destroy", "", kTypes + 0},
};
const wl_message kDeviceRequests[] = {
    {"set_selection", "?o", kTypes + 5},
    {"destroy", "", kTypes + 0},
    {"set_primary_selection", "2?o", kTypes + 8},
};
const wl_message kDeviceEvents[] = {
    {"data_offer", "n", kTypes + 6},
    {"selection", "?o", kTypes + 7},
    {"finished", "", kTypes + 0},
    {"primary_selection", "2?o", kTypes + 9},
};
const wl_message kSourceRequests[] = {
    {"offer", "s", kTypes + 0},
    {"destroy", "", kTypes + 0},
};
const wl_message kSourceEvents[] = {
    {"send", "sh", kTypes + 0},
    {"cancelled", "", kTypes + 0},
};
const wl_message kOfferRequests[] = {
    {"receive", "sh", kTypes + 0},
    {"destroy", "", kTypes + 0},
};
const wl_message kOfferEvents[] = {
    {"offer", "s", kTypes + 0},
};

const wl_interface managerInterface = {"zwlr_data_control_manager_v1", 2, 3, kManagerRequests, 0, nullptr};
const wl_interface deviceInterface = {"zwlr_data_control_device_v1", 2, 3, kDeviceRequests, 4, kDeviceEvents};
const wl_interface sourceInterface = {"zwlr_data_control_source_v1", 1, 2, kSourceRequests, 2, kSourceEvents};
const wl_interface offerInterface = {"zwlr_data_control_offer_v1", 1, 2, kOfferRequests, 1, kOfferEvents};

// Request numbers.
constexpr uint32_t kGetDataDevice = 1;
constexpr uint32_t kDestroy = 2; // the manager's
constexpr uint32_t kDeviceDestroy = 1;
constexpr uint32_t kReceive = 0;
constexpr uint32_t kOfferDestroy = 1;

// The events of a data device and of an offer, in the order the protocol numbers them.
struct DeviceListener
{
    void (*dataOffer)(void *, wl_proxy *device, wl_proxy *offer);
    void (*selection)(void *, wl_proxy *device, wl_proxy *offer);
    void (*finished)(void *, wl_proxy *device);
    void (*primarySelection)(void *, wl_proxy *device, wl_proxy *offer);
};
struct OfferListener
{
    void (*offer)(void *, wl_proxy *offer, const char *type);
};

class WaylandOffer : public OfferSource
{
public:
    static std::unique_ptr<WaylandOffer> open(bool primary)
    {
        auto offer = std::unique_ptr<WaylandOffer>(new WaylandOffer(primary));
        return offer->device_ ? std::move(offer) : nullptr;
    }

    ~WaylandOffer() override
    {
        for (wl_proxy *o : offers_)
            destroyOffer(o);
        if (device_)
            wl_proxy_marshal_flags(device_, kDeviceDestroy, nullptr, wl_proxy_get_version(device_), WL_MARSHAL_FLAG_DESTROY);
        if (manager_)
            wl_proxy_marshal_flags(manager_, kDestroy, nullptr, wl_proxy_get_version(manager_), WL_MARSHAL_FLAG_DESTROY);
        if (seat_)
            wl_proxy_destroy(seat_);
        if (registry_)
            wl_proxy_destroy(reinterpret_cast<wl_proxy *>(registry_));
        if (display_)
            wl_display_disconnect(display_);
    }

    std::optional<QStringList> types() override
    {
        if (!current_)
            return QStringList();
        return typesOf(current_);
    }

    Fetched fetch(const QString &type) override
    {
        Fetched f;
        if (!current_ || !typesOf(current_).contains(type))
            return f;
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return f;
        ++work_.requests;
        const QByteArray name = type.toUtf8();
        wl_proxy_marshal_flags(current_, kReceive, nullptr, wl_proxy_get_version(current_), 0, name.constData(), fds[1]);
        wl_display_flush(display_);
        ::close(fds[1]);
        f = readAll(fds[0], mostOfferedBytes(type));
        ::close(fds[0]);
        return f;
    }

private:
    explicit WaylandOffer(bool primary) : primary_(primary)
    {
        clock_.start();
        display_ = wl_display_connect(nullptr);
        if (!display_)
            return;
        registry_ = wl_display_get_registry(display_);
        static const wl_registry_listener registryListener = {
            [](void *self, wl_registry *registry, uint32_t name, const char *interface, uint32_t version) {
                auto *me = static_cast<WaylandOffer *>(self);
                if (std::strcmp(interface, managerInterface.name) == 0 && !me->manager_)
                    me->manager_ = static_cast<wl_proxy *>(
                        wl_registry_bind(registry, name, &managerInterface, std::min<uint32_t>(version, 2)));
                else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !me->seat_)
                    me->seat_ = static_cast<wl_proxy *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
            },
            [](void *, wl_registry *, uint32_t) {},
        };
        wl_registry_add_listener(registry_, &registryListener, this);
        if (!roundTrip() || !manager_ || !seat_ || (primary_ && wl_proxy_get_version(manager_) < 2))
            return;
        device_ = wl_proxy_marshal_flags(manager_, kGetDataDevice, &deviceInterface, wl_proxy_get_version(manager_), 0,
                                         nullptr, seat_);
        static const DeviceListener deviceListener = {
            [](void *self, wl_proxy *, wl_proxy *offer) { static_cast<WaylandOffer *>(self)->added(offer); },
            [](void *self, wl_proxy *, wl_proxy *offer) {
                auto *me = static_cast<WaylandOffer *>(self);
                if (!me->primary_)
                    me->current_ = offer;
            },
            [](void *, wl_proxy *) {},
            [](void *self, wl_proxy *, wl_proxy *offer) {
                auto *me = static_cast<WaylandOffer *>(self);
                if (me->primary_)
                    me->current_ = offer;
            },
        };
        listen(device_, &deviceListener);
        // The offers and which of them is the selection come at once, before this round trip
        // ends; the compositor tells them, not the other program.
        if (!roundTrip()) {
            wl_proxy_marshal_flags(device_, kDeviceDestroy, nullptr, wl_proxy_get_version(device_), WL_MARSHAL_FLAG_DESTROY);
            device_ = nullptr;
        }
    }

    void added(wl_proxy *offer)
    {
        offers_.push_back(offer);
        static const OfferListener offerListener = {
            [](void *self, wl_proxy *offer, const char *type) {
                static_cast<WaylandOffer *>(self)->types_[offer] << QString::fromUtf8(type);
            },
        };
        listen(offer, &offerListener);
    }

    template<typename Listener>
    void listen(wl_proxy *proxy, const Listener *listener)
    {
        wl_proxy_add_listener(proxy, reinterpret_cast<void (**)(void)>(const_cast<Listener *>(listener)), this);
    }

    static void destroyOffer(wl_proxy *offer)
    {
        wl_proxy_marshal_flags(offer, kOfferDestroy, nullptr, wl_proxy_get_version(offer), WL_MARSHAL_FLAG_DESTROY);
    }

    QStringList typesOf(wl_proxy *offer) const { return types_.value(offer); }

    // A round trip within what is left of the time allowed.
    bool roundTrip()
    {
        wl_callback *done = wl_display_sync(display_);
        bool finished = false;
        static const wl_callback_listener listener = {
            [](void *flag, wl_callback *, uint32_t) { *static_cast<bool *>(flag) = true; },
        };
        wl_callback_add_listener(done, &listener, &finished);
        wl_display_flush(display_);
        while (!finished) {
            while (wl_display_prepare_read(display_) != 0)
                if (wl_display_dispatch_pending(display_) < 0)
                    break;
            if (finished)
                break;
            wl_display_flush(display_);
            pollfd fd{wl_display_get_fd(display_), POLLIN, 0};
            const qint64 left = budget::kClipboardTimeoutMs - clock_.elapsed();
            if (left <= 0 || ::poll(&fd, 1, int(left)) <= 0) {
                wl_display_cancel_read(display_);
                ++work_.timeouts;
                break;
            }
            if (wl_display_read_events(display_) < 0 || wl_display_dispatch_pending(display_) < 0)
                break;
        }
        wl_callback_destroy(done);
        return finished;
    }

    // What the other program writes into the pipe, weighed as it comes: cut off at `limit`,
    // and at the time allowed (a second more for every 32 MB taken, as on X11).
    Fetched readAll(int fd, qint64 limit)
    {
        Fetched f;
        f.status = Status::NoAnswer;
        QByteArray data;
        char buffer[1 << 16];
        for (;;) {
            const qint64 allowed = budget::kClipboardTimeoutMs + work_.bytes / (32 << 20) * 1000;
            const qint64 left = allowed - clock_.elapsed();
            pollfd p{fd, POLLIN, 0};
            if (left <= 0 || ::poll(&p, 1, int(std::min<qint64>(left, 100))) < 0) {
                if (left <= 0 || errno != EINTR) {
                    ++work_.timeouts;
                    return f;
                }
                continue;
            }
            if (!(p.revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            if (n <= 0)
                break;
            if (data.size() + n > limit) {
                f.status = Status::TooLarge;
                return f;
            }
            data.append(buffer, qsizetype(n));
            work_.bytes += n;
        }
        f.status = data.isEmpty() ? Status::Missing : Status::Ok;
        f.bytes = std::move(data);
        return f;
    }

    bool primary_;
    QElapsedTimer clock_;
    wl_display *display_ = nullptr;
    wl_registry *registry_ = nullptr;
    wl_proxy *manager_ = nullptr;
    wl_proxy *seat_ = nullptr;
    wl_proxy *device_ = nullptr;
    wl_proxy *current_ = nullptr;
    std::vector<wl_proxy *> offers_;
    QHash<wl_proxy *, QStringList> types_;
};

} // namespace

std::unique_ptr<OfferSource> waylandSelectionOffer(QClipboard::Mode mode)
{
    return WaylandOffer::open(mode == QClipboard::Selection);
}
