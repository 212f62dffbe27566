#!/bin/sh
# Every file call that a make and a recovering check make in the folder,
# failed in turn with an error it can return, and a kill before each while
# the run can still change the folder (strace's fault injection). After each
# run a clean check finds the old set or the new one, never a mix, and the
# user's own files untouched: the new one once the journal was in place,
# the old one when a make was killed before it. A make that says it is done
# has put the new set in place, one that says the earlier files are
# unchanged has left them so; one that cannot write a new file (its open,
# write, flush or close fails) says so and leaves the folder as it was.
# Every file a run writes, it flushes.
# Usage: tiles_faults_e2e.sh TILES
set -eu
tiles=$1
. "$(dirname "$0")/../e2e/harness.sh"
. "$(dirname "$0")/twosets.sh"
calls=openat,read,write,fsync,close,renameat,renameat2,unlinkat,flock,newfstatat,fstat,mkdir,getdents64,faccessat,faccessat2

echo "the user's" >old/.slidane-tiles.notes.new
echo "the user's too" >old/holiday.txt
# A make killed after putting 0.bmp in place leaves its journal.
cp -r old torn
traced -o /dev/null -e inject=renameat:signal=KILL:when=3 "$tiles" make --force new.png torn >/dev/null 2>&1 || true
[ -e torn/.slidane-tiles.journal ] || fail "the killed make left no journal"

# Runs COMMAND on a fresh copy of BASE as set/ and prints each of its calls
# on the folder as "CALL N NAME CHANGES": the Nth call of that name in the
# run, the writer's file it names (- if none), and 1 if it may change the
# folder.
folder_calls() { # BASE COMMAND...
  base=$1
  shift
  rm -rf set && cp -r "$base" set
  traced -y -o trace.log -e trace="$calls" "$@" >/dev/null 2>&1 || fail "$* failed under strace"
  [ "$(cut -d' ' -f1 trace.log | sort -u | wc -l)" = 1 ] || fail "the run has more than one thread; N counts one"
  awk -v dir="$PWD/set" '{ c = $2; sub(/\(.*/, "", c); n[c]++ }
    index($0, dir "/") || index($0, dir ">") || index($0, "\"set/") || index($0, "\"set\"") {
      name = match($0, /\.slidane-tiles\.[^">]*/) ? substr($0, RSTART, RLENGTH) : "-"
      print c, n[c], name, (c ~ /^(write|fsync|renameat2?|unlinkat|mkdir)$/ || /O_CREAT/) ? 1 : 0 }' trace.log
}

# An error each call may return (for openat also the one that names a
# permission); the errors that take the same path are not tried twice.
faults() {
  case $1 in
  openat) echo EACCES EIO ;;
  write) echo ENOSPC ;;
  newfstatat | fstat | mkdir) echo EACCES ;;
  flock) echo ENOLCK ;;
  *) echo EIO ;;
  esac
}

# One run of COMMAND on a fresh copy of BASE with CALL N on NAME failed by
# FAULT, then what it left and said.
one_run() { # BASE CALL N FAULT NAME COMMAND...
  base=$1 call=$2 n=$3 what=$4 name=$5
  shift 5
  if [ "$what" = KILL ]; then inject="$call:signal=KILL:when=$n"; else inject="$call:error=$what:when=$n"; fi
  rm -rf set && cp -r "$base" set
  status=0
  traced -o /dev/null -e inject="$inject" "$@" >out.log 2>err.log || status=$?
  run="$* with $inject ($name)"
  # A check that cannot read a tile says so on standard output.
  if [ "$what" != KILL ] && [ "$status" != 0 ] && ! grep -q '^The game shows its built-in pictures' out.log; then
    [ "$(grep -c '^slidane-tiles: ' err.log)" = 1 ] || fail "$run: no one-line error: $(cat err.log)"
  fi
  [ "$status" != 0 ] || same_as set new 10 || fail "$run: done, but the new set is not in place"
  if grep -Eq '(the earlier files are unchanged|nothing was changed)$' err.log; then
    same_as set "$base" || fail "$run: said nothing changed, but the files did"
  fi
  if grep -q 'puts the rest in place$' err.log; then
    [ -f set/.slidane-tiles.journal ] || fail "$run: said a later run finishes, but left no journal"
  fi
  want="old or new"
  case "$base $what $call $name" in
  torn*) want=new ;;
  *" KILL renameat .slidane-tiles.journal.new") want=old ;;
  *" KILL renameat .slidane-tiles."*) want=new ;;
  old\ E*\ openat\ .slidane-tiles.*.new | old\ E*\ write\ * | old\ E*\ fsync\ .*.new | old\ E*\ close\ .*.new)
    grep -q 'the earlier files are unchanged$' err.log || fail "$run: not refused: $status $(cat err.log)"
    [ "$(ls -A set)" = "$(ls -A "$base")" ] || fail "$run: left $(ls -A set)"
    ;;
  esac
  "$tiles" check set >check.log 2>&1 || fail "$run: the next check found: $(tail -n1 check.log)"
  case $want in
  old) same_as set old ;;
  new) same_as set new 10 ;;
  *) same_as set old || same_as set new 10 ;;
  esac || fail "$run: not the $want set"
  [ "$(cat set/.slidane-tiles.notes.new set/holiday.txt)" = "the user's
the user's too" ] || fail "$run: the user's files changed"
}

# Every fault of every call of COMMAND on BASE, shared out to two workers.
sweep() { # BASE COMMAND...
  base=$1
  shift
  folder_calls "$base" "$@" >calls.log
  grep -q "^renameat " calls.log && grep -q "^fsync " calls.log || fail "no renameat or fsync on the folder in: $*"
  unflushed=$(awk '$1 == "write" { w[$3] } $1 == "fsync" { delete w[$3] } END { for (n in w) print n }' calls.log)
  [ -z "$unflushed" ] || fail "$* wrote but never flushed: $unflushed"
  # A kill after the last change leaves what the whole run leaves.
  last=$(awk '$4 { last = NR } END { print last + 0 }' calls.log)
  awk -v last="$last" '{ print $1, $2, $3, NR <= last }' calls.log | while read -r call n name kill; do
    for what in $(faults "$call") $([ "$kill" = 0 ] || echo KILL); do echo "$call $n $what $name"; done
  done >runs.log
  workers=""
  for w in 0 1; do
    mkdir -p "w$w" && cp -r old new torn "w$w/"
    (cd "w$w" && awk -v w="$w" 'NR % 2 == w' ../runs.log | while read -r call n what name; do
      one_run "$base" "$call" "$n" "$what" "$name" "$@"
    done) &
    workers="$workers $!"
  done
  for pid in $workers; do wait "$pid" || exit 1; done
  echo "$(wc -l <runs.log) runs on $(wc -l <calls.log) calls of: $*"
}

sweep torn "$tiles" check set
sweep old "$tiles" make --force "$scratch/new.png" set
echo "PASS: every error and kill of make and of a recovering check leaves the old set or the new one"
