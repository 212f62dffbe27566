# Sourced by the tile-safety scripts after the e2e harness, with $tiles the
# program: in $scratch, the photos old.png and new.png and the sets made of
# them, old/ and new/; how to compare a folder with a set; strace runs.
strace -o /dev/null true 2>/dev/null || skip "strace cannot run here; tools/install-deps.sh installs it"
cd "$scratch"
convert -size 200x160 gradient:'#E03010-#1040C0' old.png
convert -size 160x200 gradient:'#20C060-#F0E020' new.png
"$tiles" make old.png old >/dev/null
"$tiles" make new.png new >/dev/null

same_as() { # FOLDER REFERENCE [SKIP]: every tile equal, after SKIP bytes
  for t in $(seq 0 15); do cmp -s -i "${3:-0}" "$2/$t.bmp" "$1/$t.bmp" || return 1; done
}

# LeakSanitizer cannot run under ptrace. The program's threads are traced,
# the photo's decoder process, which never touches the folder, is not.
traced() { ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" strace -f --detach-on=execve "$@"; }
