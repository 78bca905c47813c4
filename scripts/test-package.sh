#!/usr/bin/env bash
# Tests the Debian package the way a user meets it: installs it with apt-get,
# starts the installed program under a virtual display, closes it with its own
# close button, and checks that its settings are in the user's config folder
# and come back at the next start. Run as root or with sudo.
#
#   scripts/test-package.sh [package.deb] [--keep]
#
# Without a package the newest build/ondasort_*.deb is taken. A package that
# was not installed before is removed again at the end, unless --keep.
set -euo pipefail

keep=0
deb=
for arg in "$@"; do
    case "$arg" in
        --keep) keep=1 ;;
        *) deb=$arg ;;
    esac
done
if [ -z "$deb" ]; then
    deb=$(ls -t build/ondasort_*.deb 2>/dev/null | head -n 1 || true)
fi
if [ -z "$deb" ] || [ ! -f "$deb" ]; then
    echo "No package: run 'make deb' first, or name the .deb." >&2
    exit 2
fi
deb=$(realpath "$deb")

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

was_installed=0
if dpkg-query -W -f='${Status}' ondasort 2>/dev/null | grep -q 'install ok installed'; then
    was_installed=1
fi

echo "Installing $deb"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get install -y --no-install-recommends "$deb" >"$work/apt.log" 2>&1 \
    || { cat "$work/apt.log" >&2; echo "FAIL: apt-get install" >&2; exit 1; }
pass "apt-get install $(basename "$deb")"

for file in /usr/bin/ondasort /usr/libexec/ondasort/Ondasort /usr/share/doc/ondasort/Readme.txt \
            /usr/share/doc/ondasort/copyright /usr/share/doc/ondasort/changelog.gz \
            /usr/share/man/man1/ondasort.1.gz /usr/share/man/ja/man1/ondasort.1.gz \
            /usr/share/metainfo/org.example.ondasort.metainfo.xml \
            /usr/share/applications/ondasort.desktop /usr/share/icons/hicolor/scalable/apps/ondasort.svg; do
    if [ -e "$file" ]; then pass "installed $file"; else fail "missing $file"; fi
done
depends=$(dpkg-query -W -f='${Depends}' ondasort)
for package in libqt6widgets6 libmpv2 libfluidsynth3 qt6-translations-l10n fonts-ipafont-gothic; do
    if grep -qw "$package" <<<"$depends"; then pass "depends on $package"; else fail "does not depend on $package"; fi
done
twice=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' | sort | uniq -d | tr '\n' ' ')
if [ -z "$twice" ]; then pass "no package named twice in Depends"; else fail "named twice in Depends: $twice"; fi

# Answered without any display.
if version=$(env -u DISPLAY -u WAYLAND_DISPLAY ondasort --version 2>&1) && [[ "$version" == Ondasort\ * ]]; then
    pass "ondasort --version without a display: $version"
else
    fail "ondasort --version without a display said: $version"
fi
status=0
env -u DISPLAY -u WAYLAND_DISPLAY ondasort >"$work/nodisplay.log" 2>&1 || status=$?
if [ "$status" -eq 1 ] && [ -s "$work/nodisplay.log" ]; then
    pass "without a display: status 1 and a message"
else
    fail "without a display: status $status, said: $(cat "$work/nodisplay.log")"
fi

# A display of our own, on a free number.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")"

# A newcomer: a home of their own, no settings yet.
export HOME="$work/home"
mkdir -p "$HOME"
unset XDG_CONFIG_HOME
config_file="$HOME/.config/Ondasort/Ondasort.ini"

# Starts the installed program from the home folder and waits for its window.
start() {
    (cd "$HOME" && exec ondasort) >"$work/app.log" 2>&1 &
    app_pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Ondasort$' | head -n 1) || true
    if [ -z "$window" ]; then
        cat "$work/app.log" >&2
        fail "the installed program shows no window"
        exit 1
    fi
}

position() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    echo "$X,$Y"
}

# Moves the window, then closes it with its own close button ("×" at the foot
# of the blue strip) and waits for the program to end.
move_and_close() {
    xdotool windowmove --sync "$window" "$1" "$2"
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove "$((X + 11))" "$((Y + 689))"
    sleep 0.3
    xdotool click 1
    for _ in $(seq 100); do
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$app_pid" 2>/dev/null; then
        fail "the program did not close from its close button"
        kill "$app_pid"
    fi
    wait "$app_pid" 2>/dev/null || true
    app_pid=
}

entry() { sed -n "s/^$1=//p" "$2" | tr -d '\r'; }

start
pass "first start shows the window"
move_and_close 123 77
if [ -f "$config_file" ]; then pass "settings written to $config_file"; else fail "no settings in $config_file"; fi
[ -e /usr/libexec/ondasort/Ondasort.ini ] && fail "settings written beside the installed program"
if [ "$(entry M_LEFT "$config_file"),$(entry M_TOP "$config_file")" = "123,77" ]; then
    pass "window position saved"
else
    fail "saved position is $(entry M_LEFT "$config_file"),$(entry M_TOP "$config_file"), not 123,77"
fi

start
if [ "$(position)" = "123,77" ]; then pass "second start restores the window position"; else fail "second start at $(position), not 123,77"; fi
move_and_close 200 150
if [ "$(entry M_LEFT "$config_file"),$(entry M_TOP "$config_file")" = "200,150" ]; then
    pass "second close saves again"
else
    fail "saved position after the second start is $(entry M_LEFT "$config_file"),$(entry M_TOP "$config_file")"
fi

# XDG_CONFIG_HOME names the config folder when it is set.
export XDG_CONFIG_HOME="$work/xdg"
start
move_and_close 10 20
if [ -f "$XDG_CONFIG_HOME/Ondasort/Ondasort.ini" ]; then pass "settings follow XDG_CONFIG_HOME"; else fail "no settings in \$XDG_CONFIG_HOME/Ondasort"; fi

if [ "$was_installed" -eq 0 ] && [ "$keep" -eq 0 ]; then
    "${sudo[@]}" apt-get remove -y ondasort >"$work/apt.log" 2>&1 || fail "apt-get remove"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "Package test passed."
