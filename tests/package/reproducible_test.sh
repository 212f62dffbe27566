#!/bin/sh
# Two Release builds of the last commit, each from a clone of its own in a
# folder of its own, the second started later, give the same Debian
# packages byte for byte. Where they differ, the files (and the archive
# members) that differ are shown.
# Usage: reproducible_test.sh SOURCE_DIR
set -eu
source=$(realpath "$1")
commit=$(git -C "$source" rev-parse --verify HEAD 2>/dev/null) || { echo "SKIP: $source has no git history"; exit 77; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT INT TERM
fail() { echo "FAIL: $*"; exit 1; }

# The game and the tool alone, in Release, packed by cpack into FOLDER/pkg.
# The clone's files carry the time it was made, as a fresh checkout's do.
# With debug data (-g), which a plain Release build lacks, so that a build
# path left in it shows in the -dbgsym packages and in the build IDs.
build_packages() { # folder
  mkdir -p "$1"
  git clone --quiet --shared --no-checkout "$source" "$1/src"
  git -C "$1/src" checkout --quiet --detach "$commit"
  {
    cmake -S "$1/src" -B "$1/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS=-g -DBUILD_TESTING=OFF -DSLIDANE_BENCH=OFF \
      -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
      && cmake --build "$1/build" --target slidane slidane-tiles desktop_icons packed_docs \
      && cpack --config "$1/build/CPackConfig.cmake" -B "$1/pkg"
  } >"$1/build.log" 2>&1 || { tail -n 30 "$1/build.log"; fail "the build in $1"; }
}

# Names what differs between two packages: the archive members, then the
# files, their listing (modes, owners, times) and the control files.
explain() { # one two
  echo "$(basename "$1") differs: $(cmp "$1" "$2" || true)"
  for member in $(ar t "$1"); do
    ar p "$1" "$member" >"$scratch/member-one"
    ar p "$2" "$member" >"$scratch/member-two"
    cmp -s "$scratch/member-one" "$scratch/member-two" || echo "  archive member $member differs"
  done
  for side in one two; do
    deb=$1
    [ "$side" = one ] || deb=$2
    mkdir -p "$scratch/x/$side"
    dpkg-deb -x "$deb" "$scratch/x/$side/data"
    dpkg-deb -e "$deb" "$scratch/x/$side/control"
    dpkg-deb -c "$deb" >"$scratch/x/$side.list"
  done
  diff -r "$scratch/x/one" "$scratch/x/two" | head -n 20 || true
  diff "$scratch/x/one.list" "$scratch/x/two.list" | head -n 20 || true
  rm -rf "$scratch/x"
}

# Folders of different lengths and depths, so that no path, absolute or
# relative, can come out the same by chance.
one=$scratch/one
two=$scratch/second-build/in/a/deeper/folder
build_packages "$one"
build_packages "$two"
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
