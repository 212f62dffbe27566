#!/bin/sh
# Plays the real program in a real X server: the window appears with its
# title and size, a click beside the gap moves the gap, End exits with 0,
# and so does closing the window as a window manager would.
# Usage: game_e2e.sh GAME CLOSEWINDOW
set -eu
game=$1
closewindow=$2
. "$(dirname "$0")/../../tools/xvfb-session.sh"

cd "$scratch" # no tile files here
start_game "$game"
[ "$width" = 277 ] && [ "$height" = 192 ] || { echo "FAIL: client size ${width}x${height}, want 277x192"; exit 1; }

# A cell's picture starts one pixel inside its border; (2, 2) of the picture
# is background on every tile, grey only on the gap.
cell_x() { echo $((x0 + 8 + 8 + 40 * (($1 - 1) % 4) + 3)); }
cell_y() { echo $((y0 + 16 + 40 * (($1 - 1) / 4) + 3)); }
find_gap() {
  import -window root "$scratch/shot.png"
  for k in $(seq 16); do
    if [ "$(pixel_at "$scratch/shot.png" "$(cell_x "$k")" "$(cell_y "$k")")" = C0C0C0 ]; then
      echo "$k"
      return
    fi
  done
}

gap=$(find_gap)
[ -n "$gap" ] || { echo "FAIL: no grey gap on the board"; exit 1; }
# The neighbour above the gap, or below it in the top row.
if [ "$gap" -gt 4 ]; then tile=$((gap - 4)); else tile=$((gap + 4)); fi
xdotool mousemove "$(($(cell_x "$tile") + 17))" "$(($(cell_y "$tile") + 17))" click 1
sleep 0.3
moved=$(find_gap)
[ "$moved" = "$tile" ] || { echo "FAIL: clicked cell $tile beside the gap in $gap; gap now in '${moved}'"; exit 1; }

# End: the middle of the button at (192, 112), 81 x 25.
xdotool mousemove $((x0 + 232)) $((y0 + 124)) click 1
status=0
for _ in $(seq 100); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.05
done
wait "$game_pid" || status=$?
[ "$status" = 0 ] || { echo "FAIL: End gave exit status $status"; exit 1; }

start_game "$game"
"$closewindow" "$wid"
status=0
wait "$game_pid" || status=$?
[ "$status" = 0 ] || { echo "FAIL: closing the window gave exit status $status"; exit 1; }
echo "PASS: window 277x192, gap moved from cell $gap to cell $tile, End and closing exit with 0"
