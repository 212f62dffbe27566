#!/bin/sh
# Builds the Debian packages slidane and slidane-tiles from the build tree,
# checks them with lintian, installs them into a scratch root, validates the
# game's desktop files, icons and both packages' documents, and starts the
# installed game by its desktop entry under Xvfb until its window appears.
# Usage: package_test.sh BUILD_DIR APP_ID
set -eu
build=$(realpath "$1")
app_id=$2
. "$(dirname "$0")/../e2e/harness.sh"


cpack --config "$build/CPackConfig.cmake" -B "$scratch/pkg" >"$scratch/cpack.log" 2>&1 || { cat "$scratch/cpack.log"; fail "cpack"; }
game=$(ls "$scratch"/pkg/slidane_*.deb)
tool=$(ls "$scratch"/pkg/slidane-tiles_*.deb)
# What each links, and no more: the game none of the tool's photo decoders.
for pair in "$game libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6" "$tool libqt6gui6 libqt6core6 libstdc++6"; do
  set -- $pair
  depends=$(dpkg-deb -f "$1" Depends)
  shift
  for lib in "$@"; do
    case "$depends" in *"$lib"*) ;; *) fail "Depends lacks $lib: $depends" ;; esac
  done
done
case "$(dpkg-deb -f "$game" Depends)" in *libheif*) fail "the game depends on libheif" ;; esac
[ "$(dpkg-deb -f "$game" Recommends)" = qt6-wayland ] || fail "the game does not recommend qt6-wayland"
[ "$(dpkg-deb -f "$tool" Recommends)" = "qt6-image-formats-plugins, qt6-translations-l10n, slidane" ] \
  || fail "slidane-tiles recommends $(dpkg-deb -f "$tool" Recommends)"

root="$scratch/root"
for deb in "$game" "$tool"; do
  package=$(dpkg-deb -f "$deb" Package)
  [ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "the section of $package is not games"
  # Nothing but information: no error, no warning, nothing overridden.
  lintian --fail-on error,warning "$deb" >"$scratch/lintian.log" 2>&1 || { cat "$scratch/lintian.log"; fail "lintian $package"; }
  if grep -E '^[EWO]: ' "$scratch/lintian.log"; then fail "lintian reports the tags above"; fi
  dpkg-deb -x "$deb" "$root"
  # The program, its manual page and documents are in its own package; the
  # symbols stripped from it are in its -dbgsym package, under its build id.
  program="$root/usr/games/$package"
  [ -x "$program" ] || fail "$package is not in /usr/games"
  dpkg-deb -c "$deb" | grep -q "/usr/share/man/man6/$package.6.gz$" || fail "$package lacks its manual page"
  # Each desktop entry is shown with its icon: both are in one package.
  contents=$(dpkg-deb -c "$deb")
  for entry in $(echo "$contents" | sed -n 's,.* \./\(.*\.desktop\)$,\1,p'); do
    icon=$(sed -n 's/^Icon=//p' "$root/$entry")
    echo "$contents" | grep -q "/hicolor/32x32/apps/$icon.png$" || fail "$package has $entry but not its icon $icon"
  done
  dbgsym=$(ls "$scratch/pkg/$package-dbgsym_"*.ddeb) || fail "no $package-dbgsym package"
  build_id=$(readelf -n "$program" | awk '/Build ID/ {print $3}')
  dpkg-deb -c "$dbgsym" | grep -q "/usr/lib/debug/.build-id/$(echo "$build_id" | cut -c1-2)/$(echo "$build_id" | cut -c3-).debug" \
    || fail "$package-dbgsym lacks the symbols of build id $build_id"
  doc="$root/usr/share/doc/$package"
  grep -q '^License: Expat$' "$doc/copyright" || fail "the copyright of $package names no licence"
  zcat "$doc/changelog.gz" | grep -q '^slidane (1.0.0)' || fail "the changelog of $package"
  man --warnings -l "$root/usr/share/man/man6/$package.6.gz" 2>&1 >/dev/null | grep . && fail "the manual page of $package has warnings"
done
share="$root/usr/share"
status=0
"$root/usr/games/slidane-tiles" check "$scratch" >/dev/null || status=$?
[ "$status" = 1 ] || fail "slidane-tiles check gave $status for a folder with no tile files, want 1"
for entry in "$app_id" "$app_id.Photo"; do
  desktop-file-validate "$share/applications/$entry.desktop" || fail "desktop-file-validate $entry"
done
[ -s "$share/slidane-tiles/translations/slidane-tiles_cs.qm" ] || fail "slidane-tiles lacks its Czech texts"
grep -q '^Categories=Game;LogicGame;$' "$share/applications/$app_id.desktop" || fail "categories"
appstreamcli validate --no-net "$share/metainfo/$app_id.metainfo.xml" || fail "appstreamcli validate"

for side in 16 32 64 128 256; do
  icon="$share/icons/hicolor/${side}x$side/apps/$app_id.png"
  [ "$(identify -format '%wx%h' "$icon")" = "${side}x$side" ] || fail "icon $icon is not $side px"
  # Whole-factor scaling without smoothing keeps the three colours.
  colours=$(convert "$icon" -format '%k' info:)
  [ "$colours" -le 3 ] || fail "icon $side px has $colours colours: smoothed"
done
# The 32-px icon scaled by 8 is the 256-px icon, pixel for pixel.
convert "$share/icons/hicolor/32x32/apps/$app_id.png" -filter point -resize 800% "$scratch/x8.png"
[ "$(compare -metric AE "$scratch/x8.png" "$share/icons/hicolor/256x256/apps/$app_id.png" null: 2>&1)" = 0 ] \
  || fail "the 256-px icon is not the 32-px one scaled by 8"

# Started as a desktop shell starts it: the entry's Exec line, with the
# games directory on the PATH as Debian has it.
cd "$scratch"
exec_line=$(sed -n 's/^Exec=//p' "$share/applications/$app_id.desktop")
PATH="$root/usr/games:$PATH" $exec_line &
cleanup_pids="$! $cleanup_pids"
[ -n "$(wait_for_window)" ] || fail "the installed game showed no window"
echo "PASS: $(basename "$game") and $(basename "$tool") install and validate; the game starts"
