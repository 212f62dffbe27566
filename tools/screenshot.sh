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
start_game "$game"
import -window "$wid" "$out"
echo "$out"
