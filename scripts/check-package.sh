#!/usr/bin/env bash
# Runs Debian's checks on a package of Ondasort: lintian with its pedantic
# tags, desktop-file-validate on the desktop entry and appstreamcli on the
# AppStream metadata. Any error or warning fails; lintian's notes (I:, P:)
# are shown but pass.
#
#   scripts/check-package.sh build/ondasort_<version>_<arch>.deb
set -euo pipefail

deb=${1:-}
if [ -z "$deb" ] || [ ! -f "$deb" ]; then
    echo "No package: run 'make deb' first, or name the .deb." >&2
    exit 2
fi

failures=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work"

echo "== lintian"
# lintian refuses to run as root without this; it reads the package only.
if ! lintian --pedantic --display-info --fail-on error,warning --allow-root "$deb"; then
    failures=$((failures + 1))
fi

echo "== desktop-file-validate"
for entry in "$work"/usr/share/applications/*.desktop; do
    out=$(desktop-file-validate "$entry" 2>&1) || true
    if [ -n "$out" ]; then
        echo "$out"
        failures=$((failures + 1))
    fi
done

echo "== appstreamcli validate"
for info in "$work"/usr/share/metainfo/*.xml; do
    if ! appstreamcli validate --pedantic --no-net "$info"; then
        failures=$((failures + 1))
    fi
done

if [ "$failures" -ne 0 ]; then
    echo "FAILED: $failures check(s)" >&2
    exit 1
fi
echo "All checks passed."
