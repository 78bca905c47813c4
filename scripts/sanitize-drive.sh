#!/usr/bin/env bash
# Drives the program built with AddressSanitizer and UndefinedBehaviorSanitizer
# (a build configured with -DONDASORT_SANITIZE=ON; `make sanitize` makes one)
# with real keys on a virtual X display: moves within one file system and
# onto a second one (a tmpfs mounted for the run), copies, rejects (once
# with the trash's "info" folder unwritable, once copied into the trash from
# the other file system), Ctrl+Z after each, files dated 2300 and 1960, a
# folder holding a name that is not UTF-8 beside "10" and "9", and closes
# the window with its "×" each time. It fails on any sanitizer report, a
# file lost or changed, a temporary file left after the next start, or a
# window that does not close. Needs root (mount, chattr).
#
#   scripts/sanitize-drive.sh [BUILD_DIR]      (default build-san)
# DISPLAY_NUMBER picks the virtual display (default 95).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build-san}" && pwd)
program="$build/bin/Ondasort"
display=":${DISPLAY_NUMBER:-95}"
[ -x "$program" ] || { echo "no program at $program" >&2; exit 1; }

work=$(mktemp -d /tmp/ondasort-drive.XXXXXX)
home="$work/home"
music="$work/music"
near="$work/near"
mnt="$work/mnt"
far="$mnt/far"
reports="$work/reports"
trash="$home/.local/share/Trash"
settings="$build/bin/Ondasort.ini"
mkdir -p "$home" "$music" "$near" "$mnt" "$reports"
mount -t tmpfs -o size=64m ondasort-drive "$mnt"
mkdir -p "$far" "$mnt/music"

xvfb_pid=
app_pid=
failed=0
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    [ -d "$trash/info" ] && chattr -i "$trash/info" 2>/dev/null || true
    umount "$mnt" 2>/dev/null || true
    rm -f "$settings"
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    failed=1
}

export HOME="$home" LANG=ja_JP.UTF-8 DISPLAY="$display"
unset XDG_DATA_HOME XDG_CONFIG_HOME
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:log_path=$reports/asan"
export LSAN_OPTIONS="suppressions=$root/scripts/sanitize.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$reports/ubsan"

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

# The files: a tone under names that sort in an order of their own, one not
# UTF-8, and two dated far from now.
tone="$root/tests/fixtures/media/tone.wav"
for name in 9 10 $'\xC0\xB5' a b; do cp "$tone" "$music/$name.wav"; done
cp "$tone" "$music/old.wav" && touch -d '1960-05-01 12:00:00' "$music/old.wav"
cp "$tone" "$music/future.wav" && touch -d '2300-01-01 12:00:00' "$music/future.wav"
for name in c d; do cp "$tone" "$mnt/music/$name.wav"; done
# The tmpfs takes no trash at its top: a reject from it is copied home.
ln -s /nonexistent "$mnt/.Trash-$(id -u)"

# name, size and time stamp of every file below the given folders
state() { find "$@" -type f -printf '%P %s %T@\n' 2>/dev/null | LC_ALL=C sort; }
count() { find "$1" -maxdepth 1 -type f 2>/dev/null | wc -l; }
music_before=$(state "$music")
mnt_music_before=$(state "$mnt/music")

# Waits up to 15 s for a shell condition.
until_true() {
    for _ in $(seq 150); do
        if eval "$1"; then return 0; fi
        sleep 0.1
    done
    fail "waited in vain for: $1"
    return 1
}

start() { # source folder, move (1) or copy (0)
    printf '[SET1]\nMODE1=%s\nMODE2=%s\nLIST00=%s\nLIST01=%s\nLIST02=%s\n' \
        "$2" "$((1 - $2))" "$1" "$near" "$far" >"$settings"
    "$program" "$1" >>"$work/app.log" 2>&1 &
    app_pid=$!
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Ondasort$' | head -n 1) || true
    [ -n "$window" ] || { cat "$work/app.log" >&2; fail "no window"; exit 1; }
    sleep 3
    # The file list holds the keyboard: a click on its first row.
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove "$((X + 150))" "$((Y + 483))" click 1
    sleep 1
}

key() {
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    xdotool key "$@"
    sleep 0.7
}

# Closes with the "×" at the foot of the blue strip; the program must end.
close() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove "$((X + 11))" "$((Y + 689))" click 1
    for _ in $(seq 300); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$app_pid" 2>/dev/null; then
        fail "the window did not close from its ×"
        kill "$app_pid"
    fi
    if ! wait "$app_pid"; then fail "the program ended with a failure status"; fi
    app_pid=
}

echo "== moves, rejects and undos from $music"
start "$music" 1
n=$(count "$music")
key F1; until_true '[ "$(count "$near")" = 1 ]'
key ctrl+z; until_true '[ "$(count "$near")" = 0 ] && [ "$(count "$music")" = "$n" ]'
key F2; until_true '[ "$(count "$far")" = 1 ]'
key ctrl+z; until_true '[ "$(count "$far")" = 0 ] && [ "$(count "$music")" = "$n" ]'
key Delete; until_true '[ "$(count "$music")" = "$((n - 1))" ]'
key ctrl+z; until_true '[ "$(count "$music")" = "$n" ]'
# An unwritable trash: the reject is refused at once and the file stays.
chattr +i "$trash/info"
key Delete; sleep 2
[ "$(count "$music")" = "$n" ] || fail "a reject into an unwritable trash moved a file"
chattr -i "$trash/info"
key Delete; until_true '[ "$(count "$music")" = "$((n - 1))" ]'
key ctrl+z; until_true '[ "$(count "$music")" = "$n" ]'
# Every file once onto each file system, then every one back.
for _ in $(seq "$n"); do key F1; done
until_true '[ "$(count "$near")" = "$n" ]'
for _ in $(seq "$n"); do key ctrl+z; done
until_true '[ "$(count "$music")" = "$n" ]'
for _ in $(seq "$n"); do key F2; done
until_true '[ "$(count "$far")" = "$n" ]'
for _ in $(seq "$n"); do key ctrl+z; done
until_true '[ "$(count "$music")" = "$n" ]'
close

echo "== copies and their undo"
start "$music" 0
key F1; until_true '[ "$(count "$near")" = 1 ]'
key ctrl+z; until_true '[ "$(count "$near")" = 0 ]'
key F2; until_true '[ "$(count "$far")" = 1 ]'
key ctrl+z; until_true '[ "$(count "$far")" = 0 ]'
close

echo "== rejects from the tmpfs, copied into the trash and back"
start "$mnt/music" 1
key Delete; until_true '[ "$(count "$mnt/music")" = 1 ]'
key ctrl+z; until_true '[ "$(count "$mnt/music")" = 2 ]'
close

echo "== the next start leaves no temporary file"
start "$music" 1
sleep 3
close
leftovers=$(find "$work" -name '.ondasort-*' 2>/dev/null || true)
[ -z "$leftovers" ] || fail "temporary files left: $leftovers"

[ "$(state "$music")" = "$music_before" ] || fail "the source folder is not as it was"
[ "$(state "$mnt/music")" = "$mnt_music_before" ] || fail "the tmpfs folder is not as it was"
left=$(find "$near" "$far" -mindepth 1)
[ -z "$left" ] || fail "files left in the destinations: $left"
if compgen -G "$reports/*" >/dev/null; then
    cat "$reports"/* >&2
    fail "sanitizer reports"
fi
if [ "$failed" = 0 ]; then
    echo "sanitize drive: clean"
fi
exit "$failed"
