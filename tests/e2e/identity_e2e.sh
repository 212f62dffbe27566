#!/bin/sh
# The running window carries the desktop entry's identity on every display
# server, and gets its title bar from where the desktop draws one:
# - X11 (Xvfb): WM_CLASS's class is the entry's StartupWMClass, and the
#   window asks for no Maximize;
# - weston (headless, with XWayland), which draws no frames for Wayland
#   windows: the game runs as an X11 client of XWayland, framed by weston's
#   window manager, and creates no Wayland window;
# - weston with the platform chosen by the user (QT_QPA_PLATFORM=wayland):
#   the protocol log shows app_id set to the entry's id, the title, and equal
#   minimum and maximum sizes of 277 x 192;
# - sway (headless), which draws frames: a native Wayland window with the
#   entry's app_id whose decoration the compositor sets to server-side.
# Usage: identity_e2e.sh GAME DESKTOP_ENTRY
set -eu
game=$1
entry=$2
. "$(dirname "$0")/harness.sh"

app_id=$(basename "$entry" .desktop)
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
[ -n "$wm_class" ] || fail "the desktop entry names no StartupWMClass"

cd "$scratch"
start_game "$game"
class=$(xprop -id "$wid" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p')
[ "$class" = "$wm_class" ] || fail "WM_CLASS class is '$class', the entry's StartupWMClass '$wm_class'"
# _MOTIF_WM_HINTS: flags, functions, decorations. Maximize is function bit 4
# and decoration bit 6.
set -- $(xprop -id "$wid" _MOTIF_WM_HINTS | sed -n 's/^_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = //p' | tr -d ',')
[ $# -ge 3 ] || fail "the window sets no _MOTIF_WM_HINTS"
[ $(($1 & 1)) = 0 ] || [ $(($2 & 16)) = 0 ] || fail "the window offers Maximize (functions $2)"
[ $(($1 & 2)) = 0 ] || [ $(($3 & 64)) = 0 ] || fail "the window shows a Maximize button (decorations $3)"
echo "X11: WM_CLASS class $class, no Maximize"

if ! command -v weston >/dev/null; then
  skip "weston is not installed; tools/install-deps.sh installs it"
fi
command -v Xwayland >/dev/null || skip "Xwayland is not installed; tools/install-deps.sh installs it"
weston --backend=headless-backend.so --use-pixman --socket=wayland-slidane --idle-time=0 --xwayland >"$scratch/weston.log" 2>&1 &
cleanup_pids="$! $cleanup_pids"
for _ in $(seq 400); do
  [ -S "$XDG_RUNTIME_DIR/wayland-slidane" ] && grep -q 'xserver listening on display' "$scratch/weston.log" && break
  sleep 0.05
done
[ -S "$XDG_RUNTIME_DIR/wayland-slidane" ] || { cat "$scratch/weston.log"; fail "weston did not start"; }
xwayland=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$scratch/weston.log")
[ -n "$xwayland" ] || { cat "$scratch/weston.log"; fail "weston started no XWayland"; }

# Waits until the protocol log $log shows the toplevel's app_id and a commit.
wait_for_toplevel() {
  for _ in $(seq 400); do
    grep -q 'xdg_toplevel@[0-9]*\.set_app_id(' "$log" && grep -q 'wl_surface@[0-9]*\.commit()' "$log" && return
    sleep 0.05
  done
}
expect() { grep -q -F -- "$1" "$log" || fail "the protocol log $(basename "$log") lacks $1"; }

# Left to itself in a session that has XWayland, the game goes there.
WAYLAND_DISPLAY=wayland-slidane DISPLAY=$xwayland WAYLAND_DEBUG=1 "$game" 2>"$scratch/xwayland.log" &
cleanup_pids="$! $cleanup_pids"
xwid=$(DISPLAY=$xwayland timeout 20 xdotool search --sync --onlyvisible --name '^15 - Dlaždovka - Slidane$' | head -n1)
[ -n "$xwid" ] || fail "no X11 window on weston's XWayland"
class=$(DISPLAY=$xwayland xprop -id "$xwid" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p')
[ "$class" = "$wm_class" ] || fail "under XWayland WM_CLASS class is '$class', want '$wm_class'"
tree=$(DISPLAY=$xwayland xwininfo -id "$xwid" -tree)
root=$(echo "$tree" | sed -n 's/^ *Root window id: \(0x[0-9a-f]*\).*/\1/p')
parent=$(echo "$tree" | sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p')
[ -n "$parent" ] && [ "$parent" != "$root" ] || fail "weston's window manager put no frame around the X11 window"
! grep -q 'xdg_toplevel' "$scratch/xwayland.log" || fail "the game made a Wayland window besides the X11 one"
echo "weston: an X11 window in weston's frame, WM_CLASS class $class"

# The user's choice wins. (A -platform option overrides the environment in
# Qt itself.)
log="$scratch/protocol.log"
WAYLAND_DISPLAY=wayland-slidane DISPLAY=$xwayland QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1 "$game" 2>"$log" &
cleanup_pids="$! $cleanup_pids"
wait_for_toplevel
expect ".set_app_id(\"$app_id\")"
expect '.set_title("15 - Dlaždovka - Slidane")'
expect '.set_min_size(277, 192)'
expect '.set_max_size(277, 192)'
echo "weston: the chosen Wayland platform is kept"

if ! command -v sway >/dev/null; then
  skip "sway is not installed; tools/install-deps.sh installs it"
fi
# sway refuses to run as root; in a user namespace it runs as an ordinary
# user that owns the same files.
as_user=""
[ "$(id -u)" -ne 0 ] || as_user="unshare --user --map-user=1000 --map-group=1000"
echo "xwayland disable" >"$scratch/sway.conf"
before=$(ls "$XDG_RUNTIME_DIR")
WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman $as_user sway -c "$scratch/sway.conf" >"$scratch/sway.log" 2>&1 &
cleanup_pids="$! $cleanup_pids"
sway_socket=""
for _ in $(seq 400); do
  sway_socket=$(ls "$XDG_RUNTIME_DIR" | grep -x 'wayland-[0-9]*' | grep -vxF "$before" | head -n1 || true)
  [ -n "$sway_socket" ] && break
  sleep 0.05
done
[ -n "$sway_socket" ] || { cat "$scratch/sway.log"; fail "sway did not start"; }
log="$scratch/sway-protocol.log"
# X11 is at hand here too (the Xvfb), and still the window stays native.
WAYLAND_DISPLAY=$sway_socket WAYLAND_DEBUG=1 "$game" 2>"$log" &
cleanup_pids="$! $cleanup_pids"
wait_for_toplevel
expect ".set_app_id(\"$app_id\")"
for _ in $(seq 400); do
  grep -q 'zxdg_toplevel_decoration_v1@[0-9]*\.configure(2)' "$log" && break
  sleep 0.05
done
grep -q 'zxdg_toplevel_decoration_v1@[0-9]*\.configure(2)' "$log" || fail "sway did not set a server-side decoration"
echo "PASS: X11, XWayland, chosen Wayland and sway windows carry $app_id, each with the desktop's frame"
