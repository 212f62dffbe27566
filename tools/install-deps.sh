#!/bin/sh
# Installs the Debian 12 packages that building, running and testing the game need.
set -eu

packages="cmake ninja-build g++ clang libclang-rt-14-dev
  qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libgl-dev fonts-dejavu-core
  libgtest-dev libbenchmark-dev libheif-dev libseccomp-dev libjpeg-dev qt6-image-formats-plugins
  xvfb xauth xdotool x11-utils imagemagick libx11-dev libxdamage-dev
  desktop-file-utils libglib2.0-bin shared-mime-info appstream dpkg-dev lintian man-db valgrind clang-format strace
  weston qt6-wayland libwayland-dev pkg-config sway xwayland
  dbus at-spi2-core python3 python3-pyatspi git"

missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

as_root=""
[ "$(id -u)" -eq 0 ] || as_root="sudo"
$as_root apt-get update
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y --no-install-recommends $missing
