#!/bin/sh
# Every file call that a make and a recovering check make in the folder,
# failed in turn with each error it can return, and a kill before each
# (strace's fault injection). After each run a clean check finds the old set
# or the new one, never a mix, and the user's own files untouched; a make
# that says it is done has put the new set in place, one that says the
# earlier files are unchanged has left them so.
# Usage: tiles_faults_e2e.sh TILES
set -eu
tiles=$1
. "$(dirname "$0")/../e2e/harness.sh"
strace -o /dev/null true 2>/dev/null || skip "the fault sweep needs strace"
# LeakSanitizer cannot run under ptrace.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
calls=openat,read,write,fsync,close,renameat,renameat2,unlinkat,flock,newfstatat,fstat,mkdir,getdents64,faccessat,faccessat2

cd "$scratch"
convert -size 200x160 gradient:'#E03010-#1040C0' old.png
convert -size 160x200 gradient:'#20C060-#F0E020' new.png
"$tiles" make old.png old >/dev/null
"$tiles" make new.png new >/dev/null
echo "the user's" >old/.slidane-tiles.notes.new
echo "the user's too" >old/holiday.txt
same_as() { # FOLDER REFERENCE [SKIP]: every tile equal, after SKIP bytes
  for t in $(seq 0 15); do cmp -s -i "${3:-0}" "$2/$t.bmp" "$1/$t.bmp" || return 1; done
}
# A make killed after putting 0.bmp in place leaves its journal.
cp -r old torn
strace -o /dev/null -e inject=renameat:signal=KILL:when=3 "$tiles" make --force new.png torn >/dev/null 2>&1 || true
[ -e torn/.slidane-tiles.journal ] || fail "the killed make left no journal"

# Runs COMMAND on a fresh copy of BASE as set/ and prints each of its calls
# on the folder as "CALL N", the Nth call of that name in the run.
folder_calls() { # BASE COMMAND...
  base=$1
  shift
  rm -rf set && cp -r "$base" set
  strace -f -y -o trace.log -e trace="$calls" "$@" >/dev/null 2>&1 || fail "$* failed under strace"
  [ "$(cut -d' ' -f1 trace.log | sort -u | wc -l)" = 1 ] || fail "the run has more than one thread; N counts one"
  awk -v dir="$PWD/set" '{ c = $2; sub(/\(.*/, "", c); n[c]++ }
    index($0, dir "/") || index($0, dir ">") || index($0, "\"set/") || index($0, "\"set\"") { print c, n[c] }' trace.log
}

# The errors each call may return, and a kill before it.
faults() {
  case $1 in
  openat) echo EACCES EIO ENOMEM ;;
  write) echo ENOSPC EIO ;;
  fsync) echo EIO ENOSPC ;;
  renameat | renameat2 | unlinkat) echo EACCES EIO ;;
  newfstatat | fstat) echo EACCES ENOMEM ;;
  mkdir) echo EACCES ENOSPC ;;
  flock) echo ENOLCK ;;
  *) echo EIO ;;
  esac
  echo KILL
}

# One run of COMMAND on a fresh copy of BASE with CALL N failed by FAULT,
# then what it left and said.
one_run() { # BASE CALL N FAULT COMMAND...
  base=$1 call=$2 n=$3 what=$4
  shift 4
  if [ "$what" = KILL ]; then inject="$call:signal=KILL:when=$n"; else inject="$call:error=$what:when=$n"; fi
  rm -rf set && cp -r "$base" set
  status=0
  strace -f -o /dev/null -e inject="$inject" "$@" >out.log 2>err.log || status=$?
  run="$* with $inject"
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
  "$tiles" check set >check.log 2>&1 || fail "$run: the next check found: $(tail -n1 check.log)"
  same_as set old || same_as set new 10 || fail "$run: neither the old set nor the new"
  [ "$(cat set/.slidane-tiles.notes.new set/holiday.txt)" = "the user's
the user's too" ] || fail "$run: the user's files changed"
}

# Every fault of every call of COMMAND on BASE, shared out to two workers.
sweep() { # BASE COMMAND...
  base=$1
  shift
  folder_calls "$base" "$@" >calls.log
  while read -r call n; do
    for what in $(faults "$call"); do echo "$call $n $what"; done
  done <calls.log >runs.log
  workers=""
  for w in 0 1; do
    mkdir -p "w$w" && cp -r "$base" old new "w$w/"
    (cd "w$w" && awk -v w="$w" 'NR % 2 == w' ../runs.log | while read -r call n what; do
      one_run "$base" "$call" "$n" "$what" "$@"
    done) &
    workers="$workers $!"
  done
  failed=""
  for pid in $workers; do wait "$pid" || failed=yes; done
  [ -z "$failed" ] || exit 1
  echo "$(wc -l <runs.log) runs on $(wc -l <calls.log) calls of: $*"
}

sweep torn "$tiles" check set
sweep old "$tiles" make --force "$scratch/new.png" set
echo "PASS: every error and kill of make and of a recovering check leaves the old set or the new one"
