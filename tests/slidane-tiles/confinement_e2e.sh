#!/bin/sh
# A photo that takes over its decoder can do nothing: a decoder gone bad
# (libjpeg's first parsing function replaced by a preloaded library) tries,
# from inside the decoder process, to read a key in the home folder, write
# an autostart entry, reach a local socket, run a shell, crash, spin, eat
# memory and answer out of form. Each row ends with exit 1 and one line
# naming the photo and what the decoder did, nothing outside is touched, and
# the set made earlier in the folder stays byte for byte as it was. The rows
# that reach outside run again as on a kernel without Landlock; where
# Landlock fails, nothing is decoded.
# Usage: confinement_e2e.sh TILES HOSTILE_LIBRARY LANDLOCK_ERROR
set -eu
tiles=$1
hostile=$2
landlock_error=$3
. "$(dirname "$0")/../e2e/harness.sh"
. "$(dirname "$0")/pieces.sh"

cd "$scratch"
export HOME="$scratch/home"
mkdir -p "$HOME/.ssh" "$HOME/.config/autostart"
echo "the player's key" >"$HOME/.ssh/id_ed25519"
block_photo photo.png
"$tiles" make photo.png set >/dev/null || fail "make of the earlier set failed"
md5sum set/* >set.md5
# A listener on a socket in the home folder, stopped by the trap.
python3 -c 'import socket, sys
s = socket.socket(socket.AF_UNIX); s.bind(sys.argv[1]); s.listen()
c, _ = s.accept(); open(sys.argv[2], "wb").write(c.recv(64))' "$HOME/listener.sock" "$scratch/received" &
cleanup_pids="$! $cleanup_pids"
for _ in $(seq 100); do [ -S "$HOME/listener.sock" ] && break; sleep 0.05; done
ls -AR "$HOME" >home.before

export LD_PRELOAD="$hostile"
# Rows: what the decoder tries, the decoder's time limit, what is said, and
# whether to try it again without Landlock.
while IFS='|' read -r action seconds words again; do
  convert photo.png -set comment "hostile:$action:$HOME;" "$action.jpg"
  for kernel in "" ${again:+"$landlock_error ENOSYS"}; do
    status=0
    SLIDANE_TILES_DECODE_SECONDS=$seconds $kernel "$tiles" make --force "$action.jpg" set >out.log 2>err.log || status=$?
    row="$action${kernel:+ without Landlock}"
    line="slidane-tiles: $action.jpg: the picture's decoder $words; the photo may be damaged or hostile"
    [ "$status" = 1 ] || fail "$row: make exited with $status: $(cat err.log)"
    [ "$(cat err.log)" = "$line" ] || fail "$row: said '$(cat err.log)', not '$line'"
    md5sum -c --quiet set.md5 || fail "$row: the earlier set changed"
    ls -AR "$HOME" | cmp -s - home.before || fail "$row: the home folder changed: $(ls -AR "$HOME")"
    [ ! -e received ] || fail "$row: the listener received '$(cat received)'"
  done
done <<ROWS
readhome|30|crashed (aborted)|again
writehome|30|crashed (aborted)|again
connect|30|tried a step outside its confinement and was stopped|again
shell|30|tried a step outside its confinement and was stopped|again
crash|30|crashed (segmentation fault)
spin|2|did not finish within 2 s and was stopped
bomb|30|ran out of the 4096 MiB of memory it may use
short|30|gave an answer out of form
ROWS
# A photo changed while its decoder reads it is refused.
convert photo.png -set comment "hostile:dawdle:$HOME;" dawdle.jpg
"$tiles" make --force dawdle.jpg set 2>err.log &
maker=$!
for _ in $(seq 100); do pgrep -f "internal-decode dawdle.jpg" >/dev/null && break; sleep 0.05; done
echo more >>dawdle.jpg
status=0
wait "$maker" || status=$?
[ "$status" = 1 ] && grep -q "^slidane-tiles: dawdle.jpg: the file changed while it was read" err.log \
  || fail "make of a photo changed while read exited with $status: $(cat err.log)"
md5sum -c --quiet set.md5 || fail "the earlier set changed for a photo changed while read"

# Fail closed: a photo, hostile or not, is not decoded where Landlock is
# there but refuses.
status=0
"$landlock_error" EPERM "$tiles" make --force photo.png set 2>err.log || status=$?
[ "$status" = 1 ] && grep -q "^slidane-tiles: photo.png: the photo is not decoded, as the decoder cannot be confined (landlock: " err.log \
  || fail "make where Landlock refuses exited with $status: $(cat err.log)"
md5sum -c --quiet set.md5 || fail "the earlier set changed where Landlock refuses"
echo "PASS: every misbehaving decoder ended contained and said in words"
