#!/bin/sh
# The game as a screen reader meets it: a private session bus, the AT-SPI
# bus with accessibility switched on before the game starts, and a listener
# that reads the tree, presses cells and hears the result.
# Usage: a11y_e2e.sh GAME LISTENER
set -eu
game=$1
listener=$2
. "$(dirname "$0")/harness.sh"
if [ ! -x /usr/libexec/at-spi-bus-launcher ] || ! command -v dbus-run-session >/dev/null \
  || ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  skip "at-spi2-core, dbus or python3-pyatspi is missing; tools/install-deps.sh installs them"
fi

cd "$scratch"
GAME=$game LISTENER=$listener dbus-run-session -- sh -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  launcher=$!
  for _ in $(seq 400); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
    sleep 0.05
  done
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set \
    string:org.a11y.Status string:IsEnabled variant:boolean:true >/dev/null
  "$GAME" &
  game=$!
  status=0
  /usr/bin/python3 "$LISTENER" || status=$?
  kill "$game" "$launcher" 2>/dev/null || true
  exit $status' 2>"$scratch/bus.log" || { status=$?; grep -v dbus-daemon "$scratch/bus.log" || true; exit $status; }
