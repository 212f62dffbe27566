#!/bin/sh
# Two Release builds of the last commit, each from a clone of its own in a
# folder of its own, the second started later and, as reprotest varies them,
# with another umask, time zone, locale and (run as root, as in CI) user,
# give the same Debian packages byte for byte. Where they differ, the files
# (and the archive members) that differ are shown.
# Usage: reproducible_test.sh SOURCE_DIR
set -eu
source=$(realpath "$1")
fail() { echo "FAIL: $*"; exit 1; }
# Under CI=true, which builds from a clone, a skip is a failure.
commit=$(git -C "$source" rev-parse --verify HEAD 2>/dev/null) \
  || { [ "${CI:-}" != true ] || fail "$source has no git history"; echo "SKIP: $source has no git history"; exit 77; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT INT TERM
chmod 755 "$scratch"

# The game and the tool alone, in Release, packed by cpack into FOLDER/pkg,
# with the given umask, time zone and locale, by the user that the optional
# command (setpriv ...) switches to. The clone's files carry the time it was
# made, as a fresh checkout's do. With debug data (-g), which a plain Release
# build lacks, so that a build path left in it shows in the -dbgsym packages
# and in the build IDs.
build_packages() { # FOLDER UMASK TZ LOCALE [SWITCH...]
  folder=$1 mask=$2 zone=$3 locale=$4
  shift 4
  mkdir -p "$folder"
  git clone --quiet --no-checkout "$source" "$folder/src"
  [ $# = 0 ] || chown -R nobody:nogroup "$folder"
  umask "$mask"
  TZ=$zone LANG=$locale LC_ALL=$locale LANGUAGE=${locale%%_*} HOME=$folder "$@" sh -c '
    git -C "$1/src" checkout --quiet --detach "$2" \
      && cmake -S "$1/src" -B "$1/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS=-g -DBUILD_TESTING=OFF \
        -DSLIDANE_BENCH=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
      && cmake --build "$1/build" --target slidane slidane-tiles desktop_icons packed_docs \
      && cpack --config "$1/build/CPackConfig.cmake" -B "$1/pkg"' sh "$folder" "$commit" >"$folder/build.log" 2>&1 \
    || { tail -n 30 "$folder/build.log"; fail "the build in $folder"; }
  umask 022
}

# Names what differs between two packages: the archive members, then the
# files, their listing (modes, owners, times) and the control files.
explain() { # one two
  echo "$(basename "$1") differs: $(cmp "$1" "$2" || true)"
  for member in $(ar t "$1"); do
    [ "$(ar p "$1" "$member" | md5sum)" = "$(ar p "$2" "$member" | md5sum)" ] || echo "  archive member $member differs"
  done
  side=0
  mkdir -p "$scratch/x"
  for deb in "$1" "$2"; do
    side=$((side + 1))
    dpkg-deb -R "$deb" "$scratch/x/$side" && dpkg-deb -c "$deb" >"$scratch/x/$side.list"
  done
  { diff -r "$scratch/x/1" "$scratch/x/2"; diff "$scratch/x/1.list" "$scratch/x/2.list"; } | head -n 40 || true
  rm -rf "$scratch/x"
}

# Folders of different lengths and depths, so that no path, absolute or
# relative, can come out the same by chance.
one=$scratch/one
two=$scratch/second-build/in/a/deeper/folder
build_packages "$one" 022 UTC C.UTF-8
switch=""
[ "$(id -u)" != 0 ] || switch="setpriv --reuid=nobody --regid=nogroup --clear-groups"
build_packages "$two" 002 LINT-14 cs_CZ.UTF-8 $switch
(cd "$one/pkg" && ls *.deb *.ddeb 2>/dev/null) >"$scratch/one.names"
(cd "$two/pkg" && ls *.deb *.ddeb 2>/dev/null) >"$scratch/two.names"
diff "$scratch/one.names" "$scratch/two.names" || fail "the builds made different packages"
for package in slidane slidane-tiles; do
  grep -q "^${package}_.*\.deb$" "$scratch/one.names" || fail "no $package package"
done

differing=0
for name in $(cat "$scratch/one.names"); do
  if ! cmp -s "$one/pkg/$name" "$two/pkg/$name"; then
    explain "$one/pkg/$name" "$two/pkg/$name"
    differing=$((differing + 1))
  fi
done
[ "$differing" = 0 ] || fail "$differing of $(wc -l <"$scratch/one.names") packages differ"
echo "PASS: $(tr '\n' ' ' <"$scratch/one.names")are the same in both builds"
