#pragma once

#include <wayland-client-protocol.h>

// libwayland-client, opened only when the game asks a Wayland compositor
// about window frames. Linked in, it would be loaded at every start, and on
// X11 desktops for nothing: three more libraries for the loader to map and
// search through before main.
class WaylandClient {
public:
    // The library, opened once; nullptr where it is not installed.
    static const WaylandClient *get();

    wl_display *(*display_connect_to_fd)(int fd) = nullptr;
    void (*display_disconnect)(wl_display *display) = nullptr;
    int (*display_get_fd)(wl_display *display) = nullptr;
    int (*display_prepare_read)(wl_display *display) = nullptr;
    int (*display_read_events)(wl_display *display) = nullptr;
    void (*display_cancel_read)(wl_display *display) = nullptr;
    int (*display_dispatch_pending)(wl_display *display) = nullptr;
    int (*display_flush)(wl_display *display) = nullptr;

    // What the protocol header's inline functions do, through the opened
    // library.
    wl_registry *getRegistry(wl_display *display) const;
    wl_callback *sync(wl_display *display) const;
    int addListener(wl_registry *registry, const wl_registry_listener *listener, void *data) const;
    int addListener(wl_callback *callback, const wl_callback_listener *listener, void *data) const;
    void destroy(wl_registry *registry) const;
    void destroy(wl_callback *callback) const;

private:
    WaylandClient() = default;

    wl_proxy *(*proxy_marshal_flags_)(wl_proxy *proxy, uint32_t opcode, const wl_interface *interface, uint32_t version,
        uint32_t flags, ...) = nullptr;
    int (*proxy_add_listener_)(wl_proxy *proxy, void (**implementation)(), void *data) = nullptr;
    void (*proxy_destroy_)(wl_proxy *proxy) = nullptr;
    uint32_t (*proxy_get_version_)(wl_proxy *proxy) = nullptr;
    const wl_interface *registry_interface_ = nullptr;
    const wl_interface *callback_interface_ = nullptr;
};
