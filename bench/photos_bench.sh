#!/bin/sh
# Times `slidane-tiles make` on camera-sized JPEGs of 12, 48, 108 and 200
# megapixels against vips' own thumbnail path (shrink-on-load, centre crop)
# to the same 156 x 156, whole process each, side by side in one run, and
# prints the median wall time and the median peak resident memory.
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

# Runs the command RUNS times; prints "median-seconds median-MiB".
measure() {
  : >times
  i=0
  while [ "$i" -lt "$runs" ]; do
    /usr/bin/time -f '%e %M' -o one "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    cat one >>times
    i=$((i + 1))
  done
  echo "$(cut -d' ' -f1 times | median) $(cut -d' ' -f2 times | median | awk '{ printf "%.0f", $1 / 1024 }')"
}

printf '%-8s %-12s %10s %10s %10s %10s\n' size pixels "ours s" "ours MiB" "vips s" "vips MiB"
for spec in "12 4000 3000" "48 8000 6000" "108 12000 9000" "200 16320 12240"; do
  set -- $spec
  photo "p$1.jpg" "$2" "$3"
  set -- "$@" $(measure "$tiles" make "p$1.jpg" set --force) \
    $(measure vips thumbnail "p$1.jpg" thumb.jpg 156 --height 156 --crop centre)
  printf '%-8s %-12s %10s %10s %10s %10s\n' "$1 MP" "${2}x$3" "$4" "$5" "$6" "$7"
  rm -f "p$1.jpg"
done
