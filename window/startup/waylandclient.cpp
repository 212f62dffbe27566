#include "waylandclient.h"

#include <dlfcn.h>

namespace {

template <typename Pointer> bool resolve(void *library, const char *name, Pointer &pointer)
{
    pointer = reinterpret_cast<Pointer>(dlsym(library, name));
    return pointer != nullptr;
}

} // namespace

const WaylandClient *WaylandClient::get()
{
    static const WaylandClient *const client = []() -> const WaylandClient * {
        // Kept open for the life of the program, as Qt's Wayland platform
        // would keep it anyway.
        void *const library = dlopen("libwayland-client.so.0", RTLD_LAZY | RTLD_LOCAL);
        if (library == nullptr) {
            return nullptr;
        }
        static WaylandClient c;
        const bool complete = resolve(library, "wl_display_connect_to_fd", c.display_connect_to_fd)
            && resolve(library, "wl_display_disconnect", c.display_disconnect)
            && resolve(library, "wl_display_get_fd", c.display_get_fd)
            && resolve(library, "wl_display_prepare_read", c.display_prepare_read)
            && resolve(library, "wl_display_read_events", c.display_read_events)
            && resolve(library, "wl_display_cancel_read", c.display_cancel_read)
            && resolve(library, "wl_display_dispatch_pending", c.display_dispatch_pending)
            && resolve(library, "wl_display_flush", c.display_flush)
            && resolve(library, "wl_proxy_marshal_flags", c.proxy_marshal_flags_)
            && resolve(library, "wl_proxy_add_listener", c.proxy_add_listener_)
            && resolve(library, "wl_proxy_destroy", c.proxy_destroy_)
            && resolve(library, "wl_proxy_get_version", c.proxy_get_version_)
            && resolve(library, "wl_registry_interface", c.registry_interface_)
            && resolve(library, "wl_callback_interface", c.callback_interface_);
        return complete ? &c : nullptr;
    }();
    return client;
}

wl_registry *WaylandClient::getRegistry(wl_display *display) const
{
    auto *const proxy = reinterpret_cast<wl_proxy *>(display);
    return reinterpret_cast<wl_registry *>(proxy_marshal_flags_(
        proxy, WL_DISPLAY_GET_REGISTRY, registry_interface_, proxy_get_version_(proxy), 0, nullptr));
}

wl_callback *WaylandClient::sync(wl_display *display) const
{
    auto *const proxy = reinterpret_cast<wl_proxy *>(display);
    return reinterpret_cast<wl_callback *>(
        proxy_marshal_flags_(proxy, WL_DISPLAY_SYNC, callback_interface_, proxy_get_version_(proxy), 0, nullptr));
}

namespace {

// A listener struct is an array of function pointers, which is how
// libwayland takes it.
template <typename Listener> void (**implementation(const Listener *listener))()
{
    return reinterpret_cast<void (**)()>(const_cast<Listener *>(listener));
}

} // namespace

int WaylandClient::addListener(wl_registry *registry, const wl_registry_listener *listener, void *data) const
{
    return proxy_add_listener_(reinterpret_cast<wl_proxy *>(registry), implementation(listener), data);
}

int WaylandClient::addListener(wl_callback *callback, const wl_callback_listener *listener, void *data) const
{
    return proxy_add_listener_(reinterpret_cast<wl_proxy *>(callback), implementation(listener), data);
}

void WaylandClient::destroy(wl_registry *registry) const
{
    proxy_destroy_(reinterpret_cast<wl_proxy *>(registry));
}

void WaylandClient::destroy(wl_callback *callback) const
{
    proxy_destroy_(reinterpret_cast<wl_proxy *>(callback));
}
