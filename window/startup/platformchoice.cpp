#include "platformchoice.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstring>

#ifdef SLIDANE_HAVE_WAYLAND
#include "waylandclient.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace platformchoice {
namespace {

#ifdef SLIDANE_HAVE_WAYLAND

using Clock = std::chrono::steady_clock;

int millisLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// The compositor's socket as libwayland finds it, connected without
// blocking: a listener that never accepts must not stall the start.
int connectSocket(Clock::time_point deadline)
{
    const QByteArray name =
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ? QByteArrayLiteral("wayland-0") : qgetenv("WAYLAND_DISPLAY");
    QByteArray path = name;
    if (!name.startsWith('/')) {
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        if (runtime.isEmpty()) {
            return -1;
        }
        path = runtime + '/' + name;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) {
        return -1;
    }
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return -1;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0) {
        return fd;
    }
    if (errno == EAGAIN || errno == EINPROGRESS) {
        pollfd writable{fd, POLLOUT, 0};
        int error = 0;
        socklen_t length = sizeof error;
        if (::poll(&writable, 1, millisLeft(deadline)) == 1 && (writable.revents & POLLOUT) != 0
            && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0) {
            return fd;
        }
    }
    ::close(fd);
    return -1;
}

struct Globals {
    bool framesOffered = false;
    bool answered = false;
};

void onGlobal(void *data, wl_registry *, uint32_t, const char *interface, uint32_t)
{
    // xdg-decoration (KWin, wlroots compositors) or KDE's older protocol
    // (KWin): either lets the window ask the compositor for its frame.
    if (std::strcmp(interface, "zxdg_decoration_manager_v1") == 0
        || std::strcmp(interface, "org_kde_kwin_server_decoration_manager") == 0) {
        static_cast<Globals *>(data)->framesOffered = true;
    }
}

void onGlobalRemove(void *, wl_registry *, uint32_t) { }

void onDone(void *data, wl_callback *, uint32_t)
{
    static_cast<Globals *>(data)->answered = true;
}

const wl_registry_listener registryListener{onGlobal, onGlobalRemove};
const wl_callback_listener doneListener{onDone};

// Reads events until the sync callback says every global has been announced.
bool roundTrip(const WaylandClient &wl, wl_display *display, const Globals &globals, Clock::time_point deadline)
{
    while (!globals.answered) {
        while (wl.display_prepare_read(display) != 0) {
            if (wl.display_dispatch_pending(display) < 0) {
                return false;
            }
        }
        if (wl.display_flush(display) < 0 && errno != EAGAIN) {
            wl.display_cancel_read(display);
            return false;
        }
        pollfd readable{wl.display_get_fd(display), POLLIN, 0};
        if (::poll(&readable, 1, millisLeft(deadline)) != 1) {
            wl.display_cancel_read(display);
            return false;
        }
        if (wl.display_read_events(display) < 0 || wl.display_dispatch_pending(display) < 0) {
            return false;
        }
    }
    return true;
}

#endif

} // namespace

Compositor askCompositor(int timeoutMs)
{
#ifdef SLIDANE_HAVE_WAYLAND
    const WaylandClient *const wl = WaylandClient::get();
    if (wl == nullptr) {
        return Compositor::Unreachable;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    const int fd = connectSocket(deadline);
    if (fd < 0) {
        return Compositor::Unreachable;
    }
    wl_display *const display = wl->display_connect_to_fd(fd); // owns fd, also on failure
    if (display == nullptr) {
        return Compositor::Unreachable;
    }
    Globals globals;
    wl_registry *const registry = wl->getRegistry(display);
    wl_callback *const done = wl->sync(display);
    bool answered = false;
    if (registry != nullptr && done != nullptr) {
        wl->addListener(registry, &registryListener, &globals);
        wl->addListener(done, &doneListener, &globals);
        answered = roundTrip(*wl, display, globals, deadline);
    }
    if (done != nullptr) {
        wl->destroy(done);
    }
    if (registry != nullptr) {
        wl->destroy(registry);
    }
    wl->display_disconnect(display);
    if (!answered) {
        return Compositor::Unreachable;
    }
    return globals.framesOffered ? Compositor::DrawsFrames : Compositor::LeavesFramesToClients;
#else
    Q_UNUSED(timeoutMs);
    return Compositor::Unreachable;
#endif
}

bool userChosePlatform(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        return true;
    }
    // Qt takes its own options with one dash or two.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
            return true;
        }
    }
    return false;
}

void choose(int argc, char *argv[])
{
    if (userChosePlatform(argc, argv)) {
        return;
    }
    const bool wayland =
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == QByteArrayLiteral("wayland");
    // A socket handed over in WAYLAND_SOCKET is good for one connection
    // only, and that one is Qt's.
    if (!wayland || !qEnvironmentVariableIsEmpty("WAYLAND_SOCKET") || qEnvironmentVariableIsEmpty("DISPLAY")) {
        return;
    }
    if (askCompositor(500) == Compositor::LeavesFramesToClients) {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
    }
}

} // namespace platformchoice
