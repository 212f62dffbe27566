#!/bin/sh
# Takes a screenshot of the real game window under a private Xvfb.
# Usage: tools/screenshot.sh GAME_BINARY OUTPUT.png [TILE_DIR]
# The game starts in TILE_DIR (default: an empty folder), so it shows the
# tile files there or the built-in pictures.
set -eu
game=$(realpath "$1")
out=$(realpath "$2")
. "$(dirname "$0")/xvfb-session.sh"

cd "${3:-$scratch}"
"$game" &
cleanup_pids="$! $cleanup_pids"
wid=$(wait_for_window)
[ -n "$wid" ] || { echo "no game window appeared" >&2; exit 1; }
sleep 0.3
import -window "$wid" "$out"
echo "$out"
