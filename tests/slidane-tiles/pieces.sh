# Sourced by the slidane-tiles end-to-end scripts, after the e2e harness: a
# generated photo whose 4 x 4 blocks each have a colour of their own, with
# black margins that the centred square must cut away, and a check that the
# game's cells show its pieces.

block_colour() { printf '%02X%02X%02X' $((15 * $1 + 10)) $((250 - 15 * $1)) $((37 * $1 % 256)); }

# Whether two RRGGBB colours differ by at most 2 in every channel.
near() {
  for shift in 16 8 0; do
    d=$(((0x$1 >> shift & 255) - (0x$2 >> shift & 255)))
    [ "$d" -ge -2 ] && [ "$d" -le 2 ] || return 1
  done
}

# Writes the photo to FILE (a PNG, 440 x 312).
block_photo() {
  rows=""
  for r in 0 1 2 3; do
    row=""
    for c in 1 2 3 4; do row="$row xc:#$(block_colour $((4 * r + c)))"; done
    convert -size 78x78 $row +append "$scratch/row$r.png"
    rows="$rows $scratch/row$r.png"
  done
  convert $rows -append -bordercolor black -border 64x0 "$1"
}

# Fails unless each cell of the game's window in SCREENSHOT shows another
# piece of the photo, or the grey gap; x0 and y0 are the window's.
cells_show_pieces() {
  seen=""
  for k in $(seq 16); do
    got=$(pixel_at "$1" $(($(cell_left "$k") + 19)) $(($(cell_top "$k") + 19)))
    match=""
    for tile in $(seq 0 15); do
      if [ "$tile" = 0 ]; then want=C0C0C0; else want=$(block_colour "$tile"); fi
      near "$got" "$want" && match=$tile
    done
    [ -n "$match" ] || fail "cell $k shows #$got, which is no piece"
    case " $seen " in *" $match "*) fail "tile $match shows twice" ;; esac
    seen="$seen $match"
  done
}
