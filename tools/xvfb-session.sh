# Sourced by the end-to-end tests and the screenshot tool: starts a private Xvfb, exports DISPLAY,
# and stops it and everything else listed in $cleanup_pids on exit.
xvfb_fd_file=$(mktemp)
cleanup_pids=""
scratch=$(mktemp -d)

stop_all() {
  for pid in $cleanup_pids; do kill "$pid" 2>/dev/null || true; done
  for pid in $cleanup_pids; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$scratch" "$xvfb_fd_file"
}
trap stop_all EXIT INT TERM

Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-640x480x24}" -nolisten tcp -noreset 3>"$xvfb_fd_file" 2>/dev/null &
cleanup_pids="$!"
for _ in $(seq 400); do
  [ -s "$xvfb_fd_file" ] && break
  sleep 0.05
done
[ -s "$xvfb_fd_file" ] || { echo "Xvfb did not start"; exit 1; }
DISPLAY=":$(head -n1 "$xvfb_fd_file")"
export DISPLAY
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR

# The colour of one screen pixel as RRGGBB, from a screenshot file.
pixel_at() { # file x y
  convert "$1" -crop "1x1+$2+$3" +repage -depth 8 txt:- | grep -o '#[0-9A-Fa-f]\{6\}' | tr -d '#'
}

# Waits for the game's window; prints its id.
wait_for_window() {
  timeout 20 xdotool search --sync --onlyvisible --name '^15 - Dlaždovka - Slidane$' | head -n1
}

# Sets x0, y0 (the client area's top-left on the screen), width and height
# of the window with the given id.
read_geometry() {
  geometry=$(xwininfo -id "$1")
  x0=$(echo "$geometry" | awk '/Absolute upper-left X:/ {print $4}')
  y0=$(echo "$geometry" | awk '/Absolute upper-left Y:/ {print $4}')
  width=$(echo "$geometry" | awk '/^ *Width:/ {print $2}')
  height=$(echo "$geometry" | awk '/^ *Height:/ {print $2}')
}

# Starts the game by the given command (an env prefix may set its
# environment), waits for its window and lets it paint; sets game_pid, wid,
# x0, y0, width and height.
start_game() {
  "$@" &
  game_pid=$!
  cleanup_pids="$game_pid $cleanup_pids"
  wid=$(wait_for_window)
  [ -n "$wid" ] || { echo "FAIL: no game window from $*"; exit 1; }
  read_geometry "$wid"
  await_painted
}

# Waits until the window's top-left pixel shows the form's grey, so a
# screenshot after it shows the painted window; fails after 20 seconds.
await_painted() {
  for _ in $(seq 200); do
    import -window root "$scratch/painted.png"
    [ "$(pixel_at "$scratch/painted.png" "$x0" "$y0")" = C0C0C0 ] && return 0
    sleep 0.1
  done
  echo "FAIL: the game's window was not painted"
  exit 1
}

# Ends the game and waits for it, so that its window is gone before the next
# one is looked for by its title.
stop_game() {
  kill "$game_pid"
  wait "$game_pid" 2>/dev/null || true
}
