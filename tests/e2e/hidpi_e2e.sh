#!/bin/sh
# The window at high-density scales:
# - at a device pixel ratio of 2 it keeps its proportions and every picture
#   pixel becomes a crisp 2 x 2 block of screen pixels in the picture's own
#   colours: no blur, no in-between colours at the edges;
# - at 1.5, 1.75, 2.5 and 3 every grid line of the board, the outer ones
#   included, is the scale rounded device pixels thick where its logical
#   position falls, and the cells hold only their pictures' colours; at 1.75
#   and 2.5 with 39-pixel tile files, which fill the cells up to their lines.
set -eu
game=$1
gridlines=$2
XVFB_SCREEN=1024x768x24
. "$(dirname "$0")/harness.sh"


cd "$scratch"
# start_at RATIO: the game at that scale, and screen.png of it.
start_at() {
  start_game env QT_SCALE_FACTOR="$1" "$game"
  import -window root "$scratch/screen.png"
}

start_at 2
[ "$width" = 554 ] && [ "$height" = 384 ] || fail "client size ${width}x$height, want 554x384"

# check_picture NAME LEFT TOP SIZE ALLOWED_COLOURS: the screen region of one
# picture, in device pixels, is made of 2 x 2 blocks in the allowed colours.
check_picture() {
  region="$scratch/region.png"
  convert "$scratch/screen.png" -crop "${4}x$4+$2+$3" +repage "$region"
  convert "$region" -sample 50% -sample 200% "$scratch/blocks.png"
  diff=$(compare -metric AE "$region" "$scratch/blocks.png" null: 2>&1 || true)
  [ "$diff" = 0 ] || fail "$1: $diff screen pixels break the 2 x 2 blocks"
  for colour in $(convert "$region" -unique-colors -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | tr -d '#'); do
    case " $5 " in *" $colour "*) ;; *) fail "$1: in-between colour #$colour" ;; esac
  done
}

for k in $(seq 16); do
  check_picture "cell $k" "$(cell_left "$k" 2)" "$(cell_top "$k" 2)" 76 "FF0000 040000 C0C0C0"
done
check_picture "preview" $((x0 + 400)) $((y0 + 16)) 132 "000000 FF0000 FFFFFF"
stop_game

check_grid() {
  for ratio in "$@"; do
    start_at "$ratio"
    convert "$scratch/screen.png" -depth 8 "$scratch/screen.ppm"
    /usr/bin/python3 "$gridlines" "$scratch/screen.ppm" "$x0" "$y0" "$ratio" || fail "at scale $ratio"
    stop_game
  done
}
check_grid 1.5 3
convert -size 39x39 xc:'#2080E0' -type truecolor BMP3:tile.bmp
for tile in $(seq 0 15); do cp tile.bmp "$tile.bmp"; done
check_grid 1.75 2.5
[ "$(pixel_at screen.png $((x0 + 60)) $((y0 + 60)))" = 2080E0 ] || fail "the 39-pixel tile files are not shown"
echo "PASS: 554x384 at scale 2 in crisp 2 x 2 blocks; grid lines in place and of rounded thickness at 1.5, 1.75, 2.5 and 3"
