#!/bin/sh
# Plays the real program in a real X server: the window appears with its
# title and size, a click beside the gap moves the gap, End exits with 0,
# and so does closing the window as a window manager would.
# Usage: game_e2e.sh GAME CLOSEWINDOW
set -eu
game=$1
closewindow=$2
. "$(dirname "$0")/harness.sh"

cd "$scratch" # no tile files here
start_game "$game"
[ "$width" = 277 ] && [ "$height" = 192 ] || fail "client size ${width}x${height}, want 277x192"

gap=$(find_gap)
[ -n "$gap" ] || fail "no grey gap on the board"
# The neighbour above the gap, or below it in the top row.
if [ "$gap" -gt 4 ]; then tile=$((gap - 4)); else tile=$((gap + 4)); fi
click_cell "$tile"
await_new_board "$scratch/gap.png" "$scratch/moved.png"
moved=$(find_gap)
[ "$moved" = "$tile" ] || fail "clicked cell $tile beside the gap in $gap; gap now in '${moved}'"

click_end
status=0
for _ in $(seq 100); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.05
done
wait "$game_pid" || status=$?
[ "$status" = 0 ] || fail "End gave exit status $status"

start_game "$game"
"$closewindow" "$wid"
status=0
wait "$game_pid" || status=$?
[ "$status" = 0 ] || fail "closing the window gave exit status $status"
echo "PASS: window 277x192, gap moved from cell $gap to cell $tile, End and closing exit with 0"
