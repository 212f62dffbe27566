#!/bin/sh
# No failure costs an existing tile set or reports success falsely: a full
# disk (as root, on a small tmpfs), a tile that is a symbolic link, a second
# make while the folder is locked, checks side by side, a mixed set, FIFOs
# and another user's runs (as root); then the command line: statuses,
# streams, "--" and a start command that works. Each failing file call and a
# kill before each are tiles_faults_e2e's.
# Usage: tiles_safety_e2e.sh TILES VERSION
set -eu
tiles=$1
version=$2
. "$(dirname "$0")/../e2e/harness.sh"
. "$(dirname "$0")/twosets.sh"
trap 'umount "$scratch/full" 2>/dev/null || true; stop_all' EXIT INT TERM
# Rows that cannot run here; the other rows run, then the test is a skip.
skipped=""

# A failed make leaves FOLDER as REFERENCE byte for byte, no temporary and
# a one-line reason.
refused() { # WHAT FOLDER REFERENCE
  [ "$status" != 0 ] || fail "$1: make reported success"
  [ "$(wc -l <err.log)" = 1 ] || fail "$1: no one-line error: $(cat err.log)"
  same_as "$2" "$3" || fail "$1: the earlier set changed"
  [ -z "$(ls -A "$2" | grep -v '^\.slidane-tiles\.lock$' | grep -v '\.bmp$')" ] || fail "$1: left $(ls -A "$2")"
}

if [ "$(id -u)" = 0 ] && mkdir full && mount -t tmpfs -o size=160k tmpfs full 2>/dev/null; then
  cp old/*.bmp full/
  dd if=/dev/zero of=full/filler bs=1k 2>/dev/null || true
  status=0
  "$tiles" make --force new.png full 2>err.log || status=$?
  rm full/filler
  refused "a full disk" full old
  grep -q 'No space left' err.log || fail "the full disk is not named: $(cat err.log)"
  umount full
else
  skipped="$skipped; a full disk needs root to mount a tmpfs"
fi

# A failed make takes away the folders it made, lock file and all.
traced -o /dev/null -e inject=fsync:error=EIO:when=16 "$tiles" make new.png fresh/set 2>err.log \
  && fail "make survived EIO"
[ ! -e fresh ] || fail "a failed make left the folder it made: $(ls -AR fresh)"
# A folder in the way of a journal is named, and the set finished once it
# is gone.
rm -rf set && cp -r old set
traced -o /dev/null -e inject=rename,renameat,renameat2:signal=KILL:when=2 "$tiles" make --force new.png set \
  >/dev/null 2>&1 || true
rm set/5.bmp && mkdir set/5.bmp
status=0
"$tiles" check set >check.log 2>err.log || status=$?
[ "$status" = 1 ] && grep -q '5.bmp is in the way; remove it' err.log || fail "a folder 5.bmp: $status $(cat err.log)"
rmdir set/5.bmp
"$tiles" check set >check.log && same_as set new 10 || fail "5.bmp removed, check found: $(tail -n1 check.log)"

# A link is replaced, not written through.
rm -rf set && cp -r old set
mkdir elsewhere && cp old/5.bmp elsewhere/target.bmp
ln -sf ../elsewhere/target.bmp set/5.bmp
"$tiles" make --force new.png set >/dev/null || fail "make --force over a link"
cmp -s old/5.bmp elsewhere/target.bmp || fail "the link's target was written"
[ ! -L set/5.bmp ] && same_as set new 10 || fail "the link is not replaced by the new tile"

# One make at a time.
(flock 9 && touch locked && while [ -e locked ]; do sleep 0.05; done) 9>set/.slidane-tiles.lock &
holder=$!
cleanup_pids="$holder $cleanup_pids"
while [ ! -e locked ]; do sleep 0.05; done
cp -r set before
status=0
"$tiles" make --force old.png set 2>err.log || status=$?
refused "a locked folder" set before
grep -q 'another slidane-tiles' err.log || fail "the lock is not named: $(cat err.log)"
# A check waits for the make, a bounded time.
status=0
timeout 20 "$tiles" check set >check.log 2>err.log || status=$?
[ "$status" = 1 ] && grep -q 'another slidane-tiles' err.log || fail "a check on a locked folder: $status $(cat err.log)"
traced -o flock.log -e trace=flock "$tiles" check set >check.log &
checker=$!
for _ in $(seq 200); do grep -q 'LOCK_SH|LOCK_NB) *= -1' flock.log 2>/dev/null && break || sleep 0.05; done
grep -q 'LOCK_SH|LOCK_NB) *= -1' flock.log || fail "the check did not find the folder locked: $(cat flock.log)"
rm locked
wait "$holder"
wait "$checker" || fail "a check that waited for the make: $(tail -n1 check.log)"

# Checks side by side, also finishing one journal, never fail each other.
for round in 1 2 3; do
  rm -rf set && cp -r old set
  traced -o /dev/null -e inject=renameat:signal=KILL:when=5 "$tiles" make --force new.png set >/dev/null 2>&1 || true
  checkers=""
  for c in 1 2 3 4; do
    "$tiles" check set >"check$c.log" 2>&1 &
    checkers="$checkers $!"
  done
  for pid in $checkers; do wait "$pid" || fail "round $round: a check failed: $(cat check*.log)"; done
  same_as set new 10 || fail "round $round: the checks did not finish the set"
done

# A mixed set: one tile from another make.
cp new/12.bmp set/12.bmp
if "$tiles" check set >check.log; then fail "check accepted a mixed set"; fi
grep -q '^Mixed set: 12.bmp not made together' check.log || fail "check did not name the stray: $(tail -n1 check.log)"
# In Czech, the words agree in number with one stray and with several.
cp set/3.bmp own3.bmp
for strays in "12.bmp" "3.bmp, 12.bmp"; do
  [ "$strays" = 12.bmp ] && cs='soubor 12.bmp nevznikl ' || cs='soubory 3.bmp, 12.bmp nevznikly '
  [ "$strays" = 12.bmp ] || cp new/3.bmp set/3.bmp
  LANGUAGE=cs "$tiles" check set >check.log || true
  grep -q "^Smíšená sada: $cs" check.log || fail "Czech, strays $strays: $(tail -n1 check.log)"
done
cp own3.bmp set/3.bmp

# Tiles made elsewhere carry no stamp and are compared with nothing.
convert old/5.bmp bmp3:set/5.bmp
convert old/7.bmp png:set/7.bmp
"$tiles" check set >check.log || true
grep -q '^Mixed set: 12.bmp not made' check.log || fail "hand-made tiles are named strays: $(tail -n1 check.log)"
convert new/12.bmp bmp3:set/12.bmp
"$tiles" check set >check.log || fail "hand-made tiles make a mixed set: $(tail -n1 check.log)"

# A FIFO under the journal's or the lock's name is refused, not waited on.
for name in journal lock; do
  rm -rf set && cp -r old set && rm -f set/.slidane-tiles.$name && mkfifo set/.slidane-tiles.$name
  for command in "check set" "make --force new.png set"; do
    status=0
    timeout 20 "$tiles" $command >/dev/null 2>err.log || status=$?
    [ "$status" = 1 ] && grep -q "$name is not a regular file" err.log || fail "$command, $name a FIFO: $(cat err.log)"
  done
done

# A folder under a temporary's name is named, and make works once it is gone.
rm -rf set && cp -r old set && mkdir set/.slidane-tiles.5.bmp.new
"$tiles" make --force new.png set 2>err.log && fail "make wrote through a folder in its way"
grep -q 'remove .slidane-tiles.5.bmp.new, which is in the way$' err.log || fail "the obstacle is not named: $(cat err.log)"
rmdir set/.slidane-tiles.5.bmp.new && "$tiles" make --force new.png set >/dev/null || fail "make after the obstacle"

mkdir bare
"$tiles" check bare >/dev/null || [ -z "$(ls -A bare)" ] || fail "check left $(ls -A bare) in a folder it only read"

# Another user: a lock file of root's does not lock the folder's owner out,
# a folder the user may not write in is refused with its cause, and a
# read-only folder is checked as it is.
if [ "$(id -u)" = 0 ] && setpriv --reuid=nobody --regid=nogroup --clear-groups true 2>/dev/null; then
  as_nobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups env -u XDG_RUNTIME_DIR "$@"; }
  chmod 755 "$scratch"
  cp -r old owned && touch owned/.slidane-tiles.lock && chown -R nobody owned && chown root owned/.slidane-tiles.lock
  as_nobody "$tiles" make --force new.png owned >/dev/null 2>err.log || fail "a lock file of root's: $(cat err.log)"
  same_as owned new 10 || fail "make as the owner wrote no new set"
  cp -r old readonly
  for folder in readonly readonly/sub; do
    status=0
    as_nobody "$tiles" make --force new.png $folder >/dev/null 2>err.log || status=$?
    [ "$status" = 1 ] && [ "$(wc -l <err.log)" = 1 ] && grep -q '(Permission denied)' err.log \
      || fail "make in $folder as another user: $status $(cat err.log)"
  done
  grep -q 'cannot create the folder' err.log || fail "the folder is not named: $(cat err.log)"
  ls -A readonly >before.log
  as_nobody "$tiles" check readonly >check.log || fail "check in a read-only folder: $(tail -n1 check.log)"
  ls -A readonly | cmp -s before.log - || fail "check changed a read-only folder"
else
  skipped="$skipped; another user's runs need root and setpriv"
fi

# The command line: status, which stream, what it says.
cp old.png -- -photo.png
while IFS='|' read -r want stream pattern args; do
  eval "set -- $args"
  status=0
  "$tiles" "$@" >out.log 2>err.log || status=$?
  [ "$status" = "$want" ] || fail "'$args' exited $status, want $want"
  if [ "$stream" = out ]; then quiet=err.log; else quiet=out.log; fi
  [ ! -s "$quiet" ] || fail "'$args' wrote to the wrong stream: $(cat $quiet)"
  grep -q -- "$pattern" "$stream.log" || fail "'$args' did not say '$pattern': $(cat $stream.log)"
done <<EOF
0|out|^Usage: slidane-tiles make|--help
0|out|^Usage: slidane-tiles make|-h
0|out|^Usage: slidane-tiles make|make --help
0|out|^Usage: slidane-tiles make|make -h
0|out|^Usage: slidane-tiles make|check --help
0|out|^slidane-tiles $version\$|--version
2|err|^Usage|
2|err|unknown command 'frame'|frame
2|err|needs a PHOTO|make
2|err|bogus|make --bogus old.png x
2|err|no more: c|make old.png x c
2|err|launcher|make old.png x --launcher
2|err|no more: b|check a b
0|out|^Usage: slidane-tiles play|play --help
2|err|no more: b|play a b
2|err|bogus|check --bogus
1|err|^slidane-tiles: nowhere: no such folder\$|check nowhere
1|err|^slidane-tiles: old.png: not a folder\$|check old.png
0|out|^  cd './-it'\\\\''s a set' && slidane\$|make -- -photo.png "-it's a set"
EOF
[ ! -e x ] || fail "a wrong command line wrote tiles"
# The start command that make printed works where it says.
start=$(sed -n 's/^  \(.*\) && slidane$/\1 \&\& pwd/p' out.log)
[ "$(sh -c "$start")" = "$scratch/-it's a set" ] || fail "'$start' does not reach the folder"
same_as "./-it's a set" old 10 || fail "-- did not end the options"
[ -z "$skipped" ] || skip "${skipped#; }"
echo "PASS: full disk, link, lock, mixed set and another user keep a whole set; the command line behaves"
