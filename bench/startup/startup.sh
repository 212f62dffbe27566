#!/bin/sh
# Start-up time (exec to window mapped, and to its first paint) and peak
# memory of the game against a bare Qt window of the same shape, in one
# private Xvfb, alternating runs.
# Usage: bench/startup/startup.sh BUILD_DIR [RUNS]   (a release build is fairest)
set -eu
build=$(realpath "$1")
runs=${2:-15}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/xvfb-session.sh"

mapwait="$build/bench/startup/mapwait"
game="$build/window/slidane"
floor="$build/tools/floorwindow/floorwindow"
cd "$scratch" # no tile files

# One run of each to warm the file cache, not counted.
"$mapwait" "$game" >/dev/null
"$mapwait" "$floor" >/dev/null
: >"$scratch/game.txt"
: >"$scratch/floor.txt"
i=0
while [ "$i" -lt "$runs" ]; do
  "$mapwait" "$game" >>"$scratch/game.txt"
  "$mapwait" "$floor" >>"$scratch/floor.txt"
  i=$((i + 1))
done

median() { # file column
  sort -n -k"$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
# The machine's own load drifts over a run; the ratio of each game run to
# the floor run right after it is steadier than the ratio of the medians.
row() { # label column unit
  g=$(median "$scratch/game.txt" "$2")
  f=$(median "$scratch/floor.txt" "$2")
  paste -d' ' "$scratch/game.txt" "$scratch/floor.txt" |
    awk -v c="$2" -v n="$(awk 'END { print NF }' "$scratch/game.txt")" '{ print $c / $(c + n) }' >"$scratch/ratios.txt"
  printf '%-20s game %s %s, floor %s %s, ratio %s, paired ratio %s\n' "$1" "$g" "$3" "$f" "$3" \
    "$(awk -v a="$g" -v b="$f" 'BEGIN { printf "%.3f", a / b }')" "$(median "$scratch/ratios.txt" 1 | awk '{ printf "%.3f", $1 }')"
}
echo "runs:                $runs each"
row "mapped, median:" 1 ms
row "first paint, median:" 2 ms
row "peak memory, median:" 3 KiB
