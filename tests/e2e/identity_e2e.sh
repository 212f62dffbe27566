#!/bin/sh
# The running window carries the desktop entry's identity on both display
# servers, so that shells match it to its launcher and icon:
# - X11 (Xvfb): WM_CLASS's class is the entry's StartupWMClass, and the
#   window asks for no Maximize;
# - Wayland (weston, headless): the protocol log shows app_id set to the
#   entry's id, the title, and equal minimum and maximum sizes of 277 x 192.
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
weston --backend=headless-backend.so --use-pixman --socket=wayland-slidane --idle-time=0 >"$scratch/weston.log" 2>&1 &
cleanup_pids="$! $cleanup_pids"
for _ in $(seq 100); do
  [ -S "$XDG_RUNTIME_DIR/wayland-slidane" ] && break
  sleep 0.05
done
[ -S "$XDG_RUNTIME_DIR/wayland-slidane" ] || { cat "$scratch/weston.log"; fail "weston did not start"; }

WAYLAND_DISPLAY=wayland-slidane QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1 "$game" 2>"$scratch/protocol.log" &
cleanup_pids="$! $cleanup_pids"
log="$scratch/protocol.log"
for _ in $(seq 200); do
  grep -q 'xdg_toplevel@[0-9]*\.set_app_id(' "$log" && grep -q 'wl_surface@[0-9]*\.commit()' "$log" && break
  sleep 0.05
done
expect() { grep -q -F -- "$1" "$log" || fail "the protocol log lacks $1"; }
expect ".set_app_id(\"$app_id\")"
expect '.set_title("15 - Dlaždovka - Slidane")'
expect '.set_min_size(277, 192)'
expect '.set_max_size(277, 192)'
echo "PASS: X11 and Wayland windows carry $app_id"
