#!/bin/sh
# Start-up time (exec to window mapped) and peak memory of the game against
# a bare Qt window of the same shape, in one private Xvfb, alternating runs.
# Usage: bench/startup/startup.sh BUILD_DIR [RUNS]   (a release build is fairest)
set -eu
build=$(realpath "$1")
runs=${2:-15}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/xvfb-session.sh"

mapwait="$build/bench/startup/mapwait"
game="$build/window/slidane"
floor="$build/bench/startup/floorwindow"
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
gt=$(median "$scratch/game.txt" 1)
ft=$(median "$scratch/floor.txt" 1)
gm=$(median "$scratch/game.txt" 2)
fm=$(median "$scratch/floor.txt" 2)
echo "runs:               $runs each"
echo "start-up median:    game $gt ms, floor $ft ms, ratio $(awk -v a="$gt" -v b="$ft" 'BEGIN { printf "%.3f", a / b }')"
echo "peak memory median: game $gm KiB, floor $fm KiB, ratio $(awk -v a="$gm" -v b="$fm" 'BEGIN { printf "%.3f", a / b }')"
