#pragma once

// Which windowing platform the game asks Qt for, decided before the
// application object exists. On a Wayland desktop whose compositor draws no
// window frames (GNOME, weston), a native window would get Qt's own title
// bar, unlike every other window there; run through XWayland instead, the
// window gets the desktop's own frame. Where the compositor draws frames
// (KWin, sway), the window stays native.
namespace platformchoice {

// What the session's Wayland compositor says about window frames.
enum class Compositor {
    Unreachable, // no socket, no answer in time, or a broken connection
    DrawsFrames, // offers a server-side decoration protocol
    LeavesFramesToClients,
};

// One round trip to the compositor: connects, reads the globals it
// announces and disconnects. Gives up after timeoutMs, so that a dead or
// silent socket cannot hold up the start.
Compositor askCompositor(int timeoutMs);

// True if the user named a platform: QT_QPA_PLATFORM or -platform.
bool userChosePlatform(int argc, char *argv[]);

// Sets QT_QPA_PLATFORM to xcb where the desktop draws the frame only for X11
// windows; otherwise leaves Qt's own choice alone.
void choose(int argc, char *argv[]);

} // namespace platformchoice
