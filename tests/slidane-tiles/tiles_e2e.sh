#!/bin/sh
# slidane-tiles from a player's side: a generated photo whose 4 x 4 blocks
# each have a colour of their own, with black margins that a centred square
# crop must cut away, becomes sixteen 24-bit 39 x 39 tile files with every
# piece in its own file; check accepts them and the game, started in that
# folder, shows them. Then the refusals: a folder with broken files, an
# existing set without --force, too small and unreadable photos, and the
# menu entry of --launcher.
# Usage: tiles_e2e.sh TILES GAME
set -eu
tiles=$1
game=$2
. "$(dirname "$0")/../e2e/harness.sh"
. "$(dirname "$0")/pieces.sh"
u16() { od -An -tu2 -j "$2" -N2 "$1" | tr -d ' '; }
u32() { od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '; }

cd "$scratch"
block_photo photo.png

"$tiles" make photo.png set >make.log || fail "make: $(cat make.log)"
grep -q '^  cd set && slidane$' make.log || fail "make did not print how to start the game: $(cat make.log)"
[ "$(ls set | wc -l)" = 16 ] || fail "make wrote $(ls set | wc -l) files"
for tile in $(seq 0 15); do
  f=set/$tile.bmp
  [ "$(u32 "$f" 18) $(u32 "$f" 22) $(u16 "$f" 28) $(u32 "$f" 30)" = "39 39 24 0" ] \
    || fail "$f is not an uncompressed 24-bit 39 x 39 bitmap"
  if [ "$tile" = 0 ]; then want=C0C0C0; else want=$(block_colour "$tile"); fi
  for spot in "0 0" "19 19" "38 38"; do
    got=$(pixel_at "$f" $spot)
    near "$got" "$want" || fail "$f at ($spot) is #$got, want #$want"
  done
done
"$tiles" check set >check.log || fail "check refused a fresh set: $(cat check.log)"

cd set
start_game "$game"
import -window root ../screen.png
cd ..
cells_show_pieces screen.png

# Refusals by check, each named.
cp -r set broken
rm broken/3.bmp
head -c 100 set/7.bmp >broken/7.bmp
rm broken/5.bmp
mkdir broken/5.bmp
: >broken/9.bmp
if "$tiles" check broken >check.log; then fail "check accepted a broken folder"; fi
for line in '3.bmp: missing' '5.bmp: not a regular file' '7.bmp: cut short' '9.bmp: empty'; do
  grep -q "^$line$" check.log || fail "check did not say '$line': $(cat check.log)"
done
grep -q 'built-in' check.log || fail "check did not say the game falls back"

# No overwriting without --force.
md5sum set/*.bmp >before.md5
convert -size 200x200 xc:white white.png
if "$tiles" make white.png set 2>err.log; then fail "make overwrote a set without --force"; fi
grep -q 'force' err.log || fail "no hint at --force: $(cat err.log)"
md5sum -c --quiet before.md5 || fail "the existing files changed"
"$tiles" make white.png set --force >/dev/null || fail "make --force"
[ "$(pixel_at set/4.bmp 5 5)" = FFFFFF ] || fail "--force did not replace the files"

# Bad photos: an error each, and nothing written. (A folder that cannot be
# made is tiles_safety_e2e's.)
convert -size 155x300 xc:white small.png
echo "no picture" >text.jpg
for photo in text.jpg missing.png small.png; do
  if "$tiles" make "$photo" out 2>err.log; then fail "make accepted $photo"; fi
  [ "$(wc -l <err.log)" = 1 ] || fail "$photo: not a one-line error: $(cat err.log)"
  [ ! -e out ] || fail "$photo: something was written"
done
grep -q '156 × 156' err.log || fail "the too-small photo's error does not say the size needed: $(cat err.log)"

# The menu entries: one of its own for each name, however written, none
# replaced without --force, and a name too long or a place for entries
# that cannot be written refused before any tile.
export XDG_DATA_HOME="$scratch/data"
"$tiles" make photo.png "my set" --launcher 'Naše chalupa' >/dev/null || fail "--launcher"
for name in 猫 犬; do "$tiles" make photo.png "$name" --launcher "$name" >/dev/null || fail "--launcher $name"; done
[ "$(ls "$XDG_DATA_HOME"/applications | wc -l)" = 3 ] || fail "three names gave $(ls "$XDG_DATA_HOME"/applications)"
for name in 'Naše chalupa' 猫 犬; do
  entry=$(grep -l "^Name=$name$" "$XDG_DATA_HOME"/applications/*.desktop) || fail "no entry named $name"
  desktop-file-validate "$entry" || fail "the entry of $name does not validate"
done
grep -q "^Path=$scratch/my set$" "$XDG_DATA_HOME"/applications/*-Na*.desktop || fail "Path= is not the folder"
grep -q "^Path=$scratch/犬$" "$entry" || fail "Path= of 犬 is not its folder: $(grep Path= "$entry")"
long=$(printf '猫%.0s' $(seq 80))
# Each row: the data folder, then the arguments; no entries can be made in /proc.
for row in "$XDG_DATA_HOME|--launcher 犬" "$XDG_DATA_HOME|--launcher $long --force" "/proc/self|--launcher x"; do
  args=${row#*|}
  # shellcheck disable=SC2086
  if XDG_DATA_HOME=${row%%|*} "$tiles" make photo.png fresh $args 2>err.log; then fail "make $args wrote an entry"; fi
  [ ! -e fresh ] || fail "make $args wrote tiles before refusing"
done
echo "PASS: a photo becomes a playable set; check, --force, bad photos and --launcher behave"
