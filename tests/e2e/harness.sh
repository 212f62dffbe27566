# Sourced by every end-to-end script: a private Xvfb (tools/xvfb-session.sh)
# and what the scripts share about the game's window. Positions are in
# logical pixels from the client area's top-left; cell_left and cell_top
# take the display scale as an optional second argument.
. "$(dirname "$0")/../../tools/xvfb-session.sh"

# The scripts read the programs' English words, whatever the caller's locale.
LC_ALL=C.UTF-8
export LC_ALL
unset LANGUAGE

fail() { echo "FAIL: $*"; exit 1; }
# A missing tool is a skip, except under CI=true, which installs every one.
skip() { [ "${CI:-}" != true ] || fail "$* (under CI=true a skip is a failure)"; echo "SKIP: $*"; exit 77; }

# The top-left pixel of the picture in cell k (1 to 16), one pixel inside the
# cell's border; a cell is 41 x 41 at (16 + 40 c, 16 + 40 r).
cell_left() { echo $((x0 + ${2:-1} * (17 + 40 * (($1 - 1) % 4)))); }
cell_top() { echo $((y0 + ${2:-1} * (17 + 40 * (($1 - 1) / 4)))); }

# Clicks the middle of cell k, or of a button.
click_cell() { xdotool mousemove $(($(cell_left "$1") + 19)) $(($(cell_top "$1") + 19)) click 1; }
click_start() { xdotool mousemove $((x0 + 232)) $((y0 + 92)) click 1; }
click_end() { xdotool mousemove $((x0 + 232)) $((y0 + 124)) click 1; }

# Prints the number of pixels in which two pictures differ. compare exits 1
# for pictures that differ and 2 when it cannot compare them: then this
# prints why and fails, so that an error never passes for a difference.
pixels_differing() { # a b
  count=$(compare -metric AE "$1" "$2" null: 2>&1) && status=0 || status=$?
  case "$status:$count" in
    [01]:[0-9]*) echo "$count" ;;
    *) echo "compare $1 $2 failed (status $status): $count"; return 1 ;;
  esac
}

# Takes screenshots into FILE until the board differs from the one in
# BEFORE, a screenshot taken before a click; fails after 20 seconds. A slow
# build (sanitizers, a loaded machine) takes its time, a fast one none.
await_new_board() { # before file
  board="161x161+$((x0 + 16))+$((y0 + 16))"
  convert "$1" -crop "$board" +repage "$scratch/board-before.png"
  for _ in $(seq 200); do
    import -window root "$2"
    convert "$2" -crop "$board" +repage "$scratch/board-now.png"
    differing=$(pixels_differing "$scratch/board-before.png" "$scratch/board-now.png") || fail "$differing"
    [ "$differing" = 0 ] || return 0
    sleep 0.1
  done
  fail "the board did not change"
}

# The cell that shows the grey gap, from a new screenshot; empty if none.
find_gap() {
  import -window root "$scratch/gap.png"
  for k in $(seq 16); do
    if [ "$(pixel_at "$scratch/gap.png" $(($(cell_left "$k") + 2)) $(($(cell_top "$k") + 2)))" = C0C0C0 ]; then
      echo "$k"
      return
    fi
  done
}
