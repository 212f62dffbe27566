#!/bin/sh
# Builds the Debian package from the build tree, checks it with lintian,
# installs it into a scratch root, validates its desktop files, icons and
# documents, and starts the installed game by its desktop entry under Xvfb
# until its window appears.
# Usage: package_test.sh BUILD_DIR APP_ID
set -eu
build=$(realpath "$1")
app_id=$2
. "$(dirname "$0")/../e2e/harness.sh"


cpack --config "$build/CPackConfig.cmake" -B "$scratch/pkg" >"$scratch/cpack.log" 2>&1 || { cat "$scratch/cpack.log"; fail "cpack"; }
deb=$(ls "$scratch"/pkg/*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6; do
  case "$depends" in *"$lib"*) ;; *) fail "Depends lacks $lib: $depends" ;; esac
done
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section is not games"
[ "$(dpkg-deb -f "$deb" Recommends)" = qt6-wayland ] || fail "the package does not recommend qt6-wayland"

# Nothing but information: no error, no warning, nothing overridden.
lintian --fail-on error,warning "$deb" >"$scratch/lintian.log" 2>&1 || { cat "$scratch/lintian.log"; fail "lintian"; }
if grep -E '^[EWO]: ' "$scratch/lintian.log"; then fail "lintian reports the tags above"; fi

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
share="$root/usr/share"
[ -x "$root/usr/games/slidane" ] || fail "the program is not in /usr/games"
# The symbols stripped from the program are in the -dbgsym package, under
# the program's build id.
dbgsym=$(ls "$scratch"/pkg/slidane-dbgsym_*.ddeb) || fail "no -dbgsym package"
build_id=$(readelf -n "$root/usr/games/slidane" | awk '/Build ID/ {print $3}')
dpkg-deb -c "$dbgsym" | grep -q "/usr/lib/debug/.build-id/$(echo "$build_id" | cut -c1-2)/$(echo "$build_id" | cut -c3-).debug" \
  || fail "the -dbgsym package lacks the symbols of build id $build_id"

grep -q '^License: Expat$' "$share/doc/slidane/copyright" || fail "copyright names no licence"
zcat "$share/doc/slidane/changelog.gz" | grep -q '^slidane (1.0.0)' || fail "changelog"
for page in slidane slidane-tiles; do
  man --warnings -l "$share/man/man6/$page.6.gz" 2>&1 >/dev/null | grep . && fail "the manual page of $page has warnings"
done
status=0
"$root/usr/games/slidane-tiles" check "$scratch" >/dev/null || status=$?
[ "$status" = 1 ] || fail "slidane-tiles check gave $status for a folder with no tile files, want 1"
desktop-file-validate "$share/applications/$app_id.desktop" || fail "desktop-file-validate"
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
echo "PASS: $(basename "$deb") installs, validates and starts"
