// Starts a program and reports how long it took from exec to its first
// top-level window being mapped, and the program's peak resident memory.
// The map is seen as an X event on the root window, not by polling. The
// program is then asked to end (SIGTERM) and reaped.
// Usage: mapwait PROGRAM [ARGS...]   (DISPLAY must name an X server
// without a window manager, so top-level maps reach the root window)
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }

    double millis = -1;
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && !event.xmap.override_redirect) {
            millis = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            break;
        }
    }
    // Let the first frame be painted before measuring memory at exit.
    usleep(200 * 1000);
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    std::printf("%.2f %ld\n", millis, usage.ru_maxrss);
    XCloseDisplay(display);
    return 0;
}
