#!/bin/sh
# Times `slidane-tiles make` on camera-sized JPEGs of 12, 48, 108 and 200
# megapixels against vips' own thumbnail path (shrink-on-load, centre crop)
# to the same 156 x 156, whole process each, side by side in one run, and
# prints the median wall time, CPU time (user and system) and peak resident
# memory.
# The photos are made at run time: noise blurred a little, so that they
# compress like a detailed photo and not like flat colour.
# Usage: photos_bench.sh SLIDANE_TILES [RUNS]   (needs vips and GNU time)
set -eu
tiles=$(realpath "$1")
runs=${2:-5}
command -v vips >/dev/null || { echo "photos_bench: needs vips (libvips-tools)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "photos_bench: needs GNU time (/usr/bin/time)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

photo() { # NAME WIDTH HEIGHT
  for band in r g b; do
    vips gaussnoise "$band.v" "$2" "$3" --mean 128 --sigma 50
  done
  vips bandjoin "r.v g.v b.v" noise.v
  vips gaussblur noise.v blurred.v 1.2
  vips cast blurred.v photo.v uchar
  vips jpegsave photo.v "$1" --Q 90
  rm -f r.v g.v b.v noise.v blurred.v photo.v
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Times one command into the file $1: "wall-seconds KiB cpu-seconds" a line.
once() {
  out=$1
  shift
  /usr/bin/time -f '%e %M %U %S' -o one "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
  awk '{ print $1, $2, $3 + $4 }' one >>"$out"
}

# The medians of a file of once's lines: wall seconds, CPU seconds, MiB.
summary() {
  echo "$(cut -d' ' -f1 "$1" | median) $(cut -d' ' -f3 "$1" | median)" \
    "$(cut -d' ' -f2 "$1" | median | awk '{ printf "%.0f", $1 / 1024 }')"
}

printf '%-7s %-12s %7s %7s %7s   %7s %7s %7s\n' size pixels "ours s" "cpu s" MiB "vips s" "cpu s" MiB
for spec in "12 4000 3000" "48 8000 6000" "108 12000 9000" "200 16320 12240"; do
  set -- $spec
  photo "p$1.jpg" "$2" "$3"
  # Turn about, so that a change in the machine's load falls on both.
  : >ours
  : >vips
  i=0
  while [ "$i" -lt "$runs" ]; do
    once ours "$tiles" make "p$1.jpg" set --force
    once vips vips thumbnail "p$1.jpg" thumb.jpg 156 --height 156 --crop centre
    i=$((i + 1))
  done
  set -- "$@" $(summary ours) $(summary vips)
  printf '%-7s %-12s %7s %7s %7s   %7s %7s %7s\n' "$1 MP" "${2}x$3" "$4" "$5" "$6" "$7" "$8" "$9"
  rm -f "p$1.jpg"
done
