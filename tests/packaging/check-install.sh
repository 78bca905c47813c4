#!/usr/bin/env bash
# Installs a build under /usr in a scratch folder, as the Debian package
# does, and checks what the desktop and the package tools read there: the
# desktop entry and the AppStream metadata validate, the launcher is a
# relative link that starts the installed program, the program finds its
# guide with the documentation, and the documentation Debian asks for is
# there and compressed without a time stamp.
#
#   tests/packaging/check-install.sh BUILD_DIR
set -euo pipefail

build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr

entry=$usr/share/applications/ondasort.desktop
[ -f "$entry" ] || fail "no desktop entry"
out=$(desktop-file-validate "$entry" 2>&1) || true
[ -z "$out" ] || fail "desktop-file-validate: $out"
grep -qx 'Exec=/usr/libexec/ondasort/Ondasort %f' "$entry" || fail "desktop entry Exec: $(grep ^Exec= "$entry")"

metainfo=$(ls "$usr"/share/metainfo/*.metainfo.xml 2>/dev/null | head -n 1)
if [ -z "$metainfo" ]; then
    fail "no AppStream metadata"
elif ! out=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1); then
    fail "appstreamcli validate: $out"
fi

link=$usr/bin/ondasort
target=$(readlink "$link" || true)
case "$target" in
    /*|"") fail "launcher link is not relative: '$target'" ;;
esac
version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$link" --version 2>&1) || fail "installed ondasort --version failed: $version"
[[ "$version" == Ondasort\ * ]] || fail "installed ondasort --version said: $version"

# The program looks for its guide in ../../share/doc/ondasort from its own folder.
[ -f "$usr/libexec/ondasort/../../share/doc/ondasort/Readme.txt" ] || fail "guide not with the documentation"
[ ! -e "$usr/libexec/ondasort/Readme.txt" ] || fail "guide still beside the program"

doc=$usr/share/doc/ondasort
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$doc/copyright" \
    || fail "copyright is not machine-readable"
for gz in "$doc/changelog.gz" "$usr/share/man/man1/ondasort.1.gz" "$usr/share/man/ja/man1/ondasort.1.gz"; do
    if ! gzip -t "$gz" 2>/dev/null; then
        fail "missing or broken: ${gz#$root}"
    elif [ "$(od -An -tu4 -j4 -N4 "$gz" | tr -d ' ')" != 0 ]; then
        fail "time stamp in ${gz#$root}"
    fi
done
zcat "$doc/changelog.gz" | head -n 1 | grep -q '^ondasort (' || fail "changelog does not start with the package"

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)" >&2
    exit 1
fi
echo "installed tree ok"
