// Starts a program and reports how long it took from exec to its first
// top-level window being mapped, and to the first drawing into that window,
// and the program's peak resident memory. Both are seen as X events (the map
// on the root window, the drawing as a DAMAGE report on every top-level
// window from its creation on), not by polling. The program is then asked to
// end (SIGTERM) and reaped.
// Usage: mapwait PROGRAM [ARGS...]   (DISPLAY must name an X server
// without a window manager, so top-level maps reach the root window)
// Prints: MAP_MS PAINT_MS MAXRSS_KIB
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A top-level window may be gone, or be input-only, by the time its damage
// is asked for; such a window is never the one painted.
int ignoreError(Display *, XErrorEvent *)
{
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "mapwait: cannot open the display\n");
        return 1;
    }
    int damageEvent = 0;
    int damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "mapwait: the display has no DAMAGE extension\n");
        return 1;
    }
    XSetErrorHandler(ignoreError);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    const auto since = [start] {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    };
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }

    double mapped = -1;
    double painted = -1;
    Window shown = None;
    while (painted < 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == CreateNotify && !event.xcreatewindow.override_redirect) {
            XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
            XFlush(display);
        } else if (event.type == MapNotify && !event.xmap.override_redirect && shown == None) {
            mapped = since();
            shown = event.xmap.window;
        } else if (event.type == damageEvent + XDamageNotify) {
            const auto &damage = reinterpret_cast<const XDamageNotifyEvent &>(event);
            if (damage.drawable == shown) {
                painted = since();
            }
        }
    }
    // Let the first frame be finished before measuring memory at exit.
    usleep(200 * 1000);
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    std::printf("%.2f %.2f %ld\n", mapped, painted, usage.ru_maxrss);
    XCloseDisplay(display);
    return 0;
}
