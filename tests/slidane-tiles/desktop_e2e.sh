#!/bin/sh
# A photo becomes a puzzle as a player who never opens a terminal meets it:
# both programs installed into a scratch prefix and registered as desktops
# register them, the photo entry offered for HEIC photos, and started by GIO
# under a private X server and session bus with a fresh home: with a photo,
# with the same photo again, without one (the file chooser), and refusals in
# a message box, in English and in Czech, also for a photo that crashes its
# decoder (HOSTILE_LIBRARY, see confinement_e2e.sh).
# Usage: desktop_e2e.sh BUILD_DIR APP_ID HOSTILE_LIBRARY
set -eu
build=$(realpath "$1")
entry_id=$2.Photo.desktop
hostile=$3
. "$(dirname "$0")/../e2e/harness.sh"
. "$(dirname "$0")/pieces.sh"
for tool in gio update-desktop-database dbus-daemon; do
  command -v "$tool" >/dev/null || skip "$tool is missing; tools/install-deps.sh installs it"
done

prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" || fail "install: $(cat "$scratch/install.log")"
update-desktop-database "$prefix/share/applications"
export HOME="$scratch/home" XDG_DATA_DIRS="$prefix/share:/usr/share" PATH="$prefix/games:/usr/bin:/bin" LANG=C.UTF-8
unset XDG_DATA_HOME XDG_CONFIG_HOME LANGUAGE LC_ALL LC_MESSAGES DESKTOP_STARTUP_ID
mkdir "$HOME"
bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
DBUS_SESSION_BUS_ADDRESS=$(echo "$bus" | head -n1)
export DBUS_SESSION_BUS_ADDRESS
cleanup_pids="$(echo "$bus" | tail -n1) $cleanup_pids"
entry="$prefix/share/applications/$entry_id"
sets="$HOME/.local/share/slidane"

gio mime image/heic | grep -q "$entry_id" || fail "GIO does not offer the entry for HEIC photos: $(gio mime image/heic)"

# Sets found to the id of the first visible window whose name is NAME;
# fails after 20 s.
await_window() {
  found=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n1) || true
  [ -n "$found" ] || fail "no window named '$1'"
}
# Launches the entry as a file manager does, with a launch id for the
# desktop's feedback and stderr kept, and checks that the game's window shows
# the photo's pieces and, on showing, ends the feedback: Qt says "remove"
# for the id it was started with on the root window.
play_through_entry() {
  xev -root -event property >"$scratch/root.log" &
  spy=$!
  for _ in $(seq 100); do
    xprop -root -f _E2E_READY 8s -set _E2E_READY 1
    grep -q _E2E_READY "$scratch/root.log" && break
    sleep 0.05
  done
  DESKTOP_STARTUP_ID="slidane-e2e_TIME$1" gio launch "$entry" "$2" 2>"$scratch/launch.log"
  await_window '^15 - Dlaždovka - Slidane$'
  wid=$found
  read_geometry "$wid"
  await_painted
  import -window root "$scratch/game.png"
  cells_show_pieces "$scratch/game.png"
  grep -q _NET_STARTUP_INFO_BEGIN "$scratch/root.log" || fail "the game's window does not end the launch feedback"
  kill "$spy"
  game_pid=$(xdotool getwindowpid "$wid")
  stop_game
}
# Presses Return in the window named NAME until it is gone; fails after 10 s.
# Qt may give a dialog a new window once it is laid out, so the one to press
# is looked up each time.
press_return_until_gone() {
  for _ in $(seq 50); do
    window=$(xdotool search --onlyvisible --name "$1" | head -n1) || true
    [ -n "$window" ] || return 0
    xdotool windowfocus --sync "$window" key Return 2>/dev/null || true
    sleep 0.2
  done
  fail "the window named '$1' does not close on Return"
}
listing() { (cd "$sets" && find . -exec stat -c '%n %i %Y %Z %s' {} + | sort); }

cd "$scratch"
block_photo photo.png
play_through_entry 1 photo.png
set -- "$sets"/photo-*
[ $# = 1 ] && [ -n "$(basename "$1" | grep -E '^photo-[0-9a-f]{12}$')" ] || fail "the sets are: $(ls -A "$sets")"
listing >first.txt
# Opened again: the same set, not one byte or time rewritten.
play_through_entry 2 "$scratch/photo.png"
listing >second.txt
cmp -s first.txt second.txt || fail "the set was touched: $(diff first.txt second.txt)"

# Without a photo: the chooser, a path typed into it, the game.
cp photo.png holiday.png
gio launch "$entry" 2>launch.log
await_window '^Choose a photo for the picture puzzle$'
xdotool windowfocus --sync "$found" type "$scratch/holiday.png"
# A Return may first close the completion list that typing opened.
press_return_until_gone '^Choose a photo for the picture puzzle$'
await_window '^15 - Dlaždovka - Slidane$'
game_pid=$(xdotool getwindowpid "$found")
stop_game
[ -n "$(ls "$sets" | grep -E '^holiday-[0-9a-f]{12}$')" ] || fail "the chosen photo made no set: $(ls -A "$sets")"

# Refusals: a message box with the reason, the same words on stderr, no
# game and nothing made. Rows: locale, photo, dialog title, words, and
# "alone" where the game is not installed.
convert photo.png photo.jpg
head -c 3000 photo.jpg >cut.jpg
convert -size 400x120 xc:white wide.png
convert photo.png -set comment "hostile:crash:$HOME;" crash.jpg
# AddressSanitizer's builds: the preloaded library comes before its runtime,
# and a crash ends the decoder as it ends any other build's.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0:handle_segv=0"
while IFS='|' read -r language photo title words alone; do
  before=$(ls -A "$sets")
  [ -z "$alone" ] || mv "$prefix/games/slidane" "$scratch/slidane.away"
  LANGUAGE=$language LD_PRELOAD=$hostile gio launch "$entry" "$scratch/$photo" 2>launch.log
  await_window "^$title\$"
  xprop -id "$found" _NET_WM_ICON | grep -q 'Icon (' || fail "$photo: the message box has no icon"
  grep -q "$words" launch.log || fail "$photo: stderr does not say '$words': $(cat launch.log)"
  [ -z "$(xdotool search --onlyvisible --name '^15 - Dlaždovka' || true)" ] || fail "$photo: the game started"
  [ "$(ls -A "$sets")" = "$before" ] || fail "$photo: left $(ls -A "$sets")"
  press_return_until_gone "^$title\$"
  [ -z "$alone" ] || mv "$scratch/slidane.away" "$prefix/games/slidane"
done <<ROWS
en|cut.jpg|Picture puzzle from a photo|cut.jpg: the JPEG file is cut short
en|wide.png|Picture puzzle from a photo|it needs at least 156 × 156
cs|cut.jpg|Obrázkový hlavolam z fotky|cut.jpg: soubor JPEG je neúplný
en|photo.jpg|Picture puzzle from a photo|install the package slidane|alone
en|crash.jpg|Picture puzzle from a photo|crash.jpg: the picture's decoder crashed (segmentation fault)
ROWS
echo "PASS: GIO offers and launches the photo entry; the set is made once, chosen or given, refusals are shown"
