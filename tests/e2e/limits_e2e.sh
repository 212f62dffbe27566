#!/bin/sh
# Under the lowest address-space limit (prlimit --as) at which a bare Qt
# window of the same shape starts, found here by bisection, the game starts
# and plays with sixteen large tile files in its folder: the cells show the
# files, Start deals them anew, and Help opens its box.
# Usage: limits_e2e.sh GAME FLOORWINDOW
set -eu
game=$1
floor=$2
. "$(dirname "$0")/harness.sh"

command -v prlimit >/dev/null || skip "prlimit is not installed"
cd "$scratch"
# 1024 x 1024, 24 bits, one colour that is neither the built-in red nor grey,
# each file with a mark of its own further in, so a new deal changes the board.
for tile in $(seq 0 15); do
  convert -size 1024x1024 xc:'#3366CC' -fill '#CC6633' -draw "rectangle $((2 * tile + 4)),20 $((2 * tile + 5)),30" \
    -type TrueColor "BMP3:$tile.bmp"
done

# True if the program shows its window under a limit of $2 MiB; false once
# it ends without one, or after 20 seconds.
starts_under() {
  prlimit --as=$(($2 * 1024 * 1024)) "$1" 2>/dev/null &
  pid=$!
  shown=""
  for _ in $(seq 200); do
    shown=$(xdotool search --onlyvisible --name '^15 - Dlaždovka - Slidane$' 2>/dev/null | head -n1 || true)
    [ -z "$shown" ] && kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ -n "$shown" ]
}
low=16
high=1024
starts_under "$floor" "$high" || fail "the bare window does not start even under $high MiB"
while [ $((high - low)) -gt 1 ]; do
  mid=$(((low + high) / 2))
  if starts_under "$floor" "$mid"; then high=$mid; else low=$mid; fi
done
echo "a bare Qt window starts under $high MiB"

start_game prlimit --as=$((high * 1024 * 1024)) "$game"
shows_files() {
  import -window root screen.png
  for k in $(seq 16); do
    colour=$(pixel_at screen.png $(($(cell_left "$k") + 2)) $(($(cell_top "$k") + 2)))
    [ "$colour" = 3366CC ] || fail "$1: cell $k shows #$colour, not its tile file"
  done
}
shows_files "at start"
click_start
await_new_board screen.png dealt.png
shows_files "after Start"
click_help() { xdotool mousemove $((x0 + 232)) $((y0 + 156)) click 1; }
click_help
for _ in $(seq 200); do
  [ "$(xdotool search --onlyvisible --name '^15 - Dlaždovka - Slidane$' | wc -l)" -ge 2 ] && break
  sleep 0.1
done
[ "$(xdotool search --onlyvisible --name '^15 - Dlaždovka - Slidane$' | wc -l)" -ge 2 ] || fail "Help opened no box"
kill -0 "$game_pid" 2>/dev/null || fail "the game ended"
echo "PASS: the game starts and plays under $high MiB with sixteen 1024 x 1024 tile files"
