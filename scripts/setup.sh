#!/usr/bin/env bash
# Installs every Debian package Ondasort needs to build, test and run.
# Skips apt entirely when everything is already installed, so a second run is fast.
set -euo pipefail

packages=(
    # build tools, and the Debian packaging tools behind `make deb`
    cmake g++ make pkg-config dpkg-dev file
    # objdump, which orders the player module's libraries at build time
    binutils
    # libraries
    qt6-base-dev libmpv-dev libfluidsynth-dev
    # General MIDI soundfont behind /usr/share/sounds/sf2/default-GM.sf2
    timgm6mb-soundfont
    # Qt's own texts (standard dialogs) in Japanese
    qt6-translations-l10n
    # fonts: Gothic and Mincho for Japanese text, a brush script for hints, DejaVu for Latin
    fonts-ipafont-gothic fonts-ipafont-mincho fonts-aoyagi-kouzan-t fonts-dejavu-core fontconfig
    # icon themes for the folder tree and the desktop entry
    hicolor-icon-theme adwaita-icon-theme
    # Debian's checks on the package (make check-deb)
    lintian desktop-file-utils appstream
    # tests and benchmarks
    libgtest-dev libgmock-dev libbenchmark-dev
    # a FUSE file system that stops answering, for the tests and benchmarks
    # of devices that hang (mounted as root on /dev/fuse)
    fuse3 libfuse3-dev
    # fuzz harnesses: clang with its libFuzzer and sanitizer runtimes
    clang libclang-rt-14-dev
    # the start-up benchmark watches the X server for the window
    libxcb1-dev
    # a display server for running the window without a desktop, and a
    # hand to click in it (the package test)
    xvfb xauth xdotool
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
