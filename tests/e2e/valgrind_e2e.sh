#!/bin/sh
# Plays the real program under valgrind memcheck: start, a few clicks on
# the board, Help, End. Any memory error, or a leak that is definitely
# lost, fails the run; leaks kept for the process life by system libraries
# are suppressed in valgrind.supp.
set -eu
game=$1
suppressions=$(realpath "$(dirname "$0")/valgrind.supp")
. "$(dirname "$0")/harness.sh"

fail() { echo "FAIL: $*"; cat "$scratch/valgrind.log"; exit 1; }

cd "$scratch"
valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite \
  --error-exitcode=99 --suppressions="$suppressions" --num-callers=30 --log-file="$scratch/valgrind.log" \
  "$game" &
game_pid=$!
cleanup_pids="$game_pid $cleanup_pids"

wid=$(timeout 120 xdotool search --sync --onlyvisible --name '^15 - Dlaždovka - Slidane$' | head -n1)
[ -n "$wid" ] || fail "no window under valgrind"
read_geometry "$wid"
# Under memcheck the first paint takes seconds.
await_painted
import -window root "$scratch/before.png"
# Every cell once: whichever stand beside the gap move. The server keeps the
# clicks in order for the game, however slowly it takes them.
for k in $(seq 16); do
  click_cell "$k"
done
# Start, then End once the board has changed: the game is taking the clicks,
# and the server hands it End after all of them.
click_start
await_new_board "$scratch/before.png" "$scratch/dealt.png"
click_end

status=0
wait "$game_pid" || status=$?
! grep -q 'ERROR SUMMARY: [1-9]' "$scratch/valgrind.log" || fail "memcheck reported errors (exit status $status)"
[ "$status" = 0 ] || fail "exit status $status"
echo "PASS: $(grep -o 'definitely lost: [0-9,]* bytes' "$scratch/valgrind.log" | head -n1), no memory errors"
