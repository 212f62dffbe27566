#!/bin/sh
# Tile files as the real program meets them under a real X server:
# - sixteen copies of a run-length bitmap that leaves pixels out show sixteen
#   identical cells, the left-out pixels showing the cell's background, even
#   with freed heap memory filled with a pattern;
# - running out of memory while sixteen 8 MiB tile files load gives the
#   built-in set, and the game goes on.
# Usage: tilefiles_e2e.sh GAME
set -eu
game=$1
. "$(dirname "$0")/harness.sh"

le16() { printf "\\$(printf %03o $(($1 & 255)))\\$(printf %03o $(($1 >> 8 & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16 & 65535)); }
# bitmap_header WIDTH HEIGHT BITS COMPRESSION PALETTE_ENTRIES DATA_BYTES
bitmap_header() {
  offset=$((54 + 4 * $5))
  printf BM; le32 $((offset + $6)); le32 0; le32 "$offset"
  le32 40; le32 "$1"; le32 "$2"; le16 1; le16 "$3"; le32 "$4"; le32 "$6"; le32 0; le32 0; le32 0; le32 0
}
# Under the sanitizers, a failed allocation must fail as it does in a plain
# build; freed heap memory is filled with a pattern.
run_game() {
  start_game env ASAN_OPTIONS="${ASAN_OPTIONS:-}:allocator_may_return_null=1" \
    GLIBC_TUNABLES=glibc.malloc.perturb=165 "$game"
}

cd "$scratch"
# 8 x 8, RLE8, one blue palette entry. Each row: two pixels, a skip of two,
# two pixels, and an end of line that leaves the last two out.
{
  bitmap_header 8 8 8 1 1 82
  printf '\377\000\000\000'
  for _ in 1 2 3 4 5 6 7 8; do printf '\002\000\000\002\002\000\002\000\000\000'; done
  printf '\000\001'
} >skipping.bmp
for tile in $(seq 0 15); do cp skipping.bmp "$tile.bmp"; done
run_game
import -window root screen.png
convert screen.png -crop "39x39+$(cell_left 1)+$(cell_top 1)" +repage first.png
for k in $(seq 16); do
  convert screen.png -crop "39x39+$(cell_left "$k")+$(cell_top "$k")" +repage cell.png
  diff=$(compare -metric AE first.png cell.png null: 2>&1 || true)
  [ "$diff" = 0 ] || fail "cell $k differs from cell 1 in $diff pixels"
done
# Beyond the 8 x 8 picture the cell shows its own background.
bg=$(pixel_at first.png 38 38)
for spot in "0 0 0000FF" "2 0 $bg" "4 7 0000FF" "6 7 $bg" "7 3 $bg"; do
  set -- $spot
  [ "$(pixel_at first.png "$1" "$2")" = "$3" ] || fail "picture pixel ($1, $2) is $(pixel_at first.png "$1" "$2"), want $3"
done
stop_game

# Sixteen black 1024 x 1024 bitmaps, each padded to the 8 MiB limit. The
# game starts without them and is left too little address space for one
# more 8 MiB file; then they are put in place and Start is pressed.
rm ./*.bmp
run_game
size=$(awk '/^VmSize:/ {print $2}' "/proc/$game_pid/status")
prlimit --pid "$game_pid" --as=$(((size + 4096) * 1024)):
{
  bitmap_header 1024 1024 32 0 0 $((4 * 1024 * 1024))
  head -c $((8 * 1024 * 1024 - 54)) /dev/zero
} >big.bmp
for tile in $(seq 0 15); do cp big.bmp "$tile.bmp"; done
# Each Start deals anew, so a changed board shows the click was handled.
press_start() {
  import -window root before.png
  click_start
  await_new_board before.png screen.png
  kill -0 "$game_pid" 2>/dev/null || fail "the game ended when memory ran out"
}
press_start
for k in $(seq 16); do
  colour=$(pixel_at screen.png $(($(cell_left "$k") + 2)) $(($(cell_top "$k") + 2)))
  case $colour in FF0000 | C0C0C0) ;; *) fail "cell $k shows #$colour, not the built-in set" ;; esac
done
# With memory to spare the same files are shown.
prlimit --pid "$game_pid" --as=unlimited:
press_start
[ "$(pixel_at screen.png $(($(cell_left 1) + 2)) $(($(cell_top 1) + 2)))" = 000000 ] || fail "the tile files are not shown"
echo "PASS: sixteen identical run-length cells; out of memory gives the built-in set"
