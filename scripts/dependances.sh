#!/usr/bin/env bash
# Installs the Debian packages Kalimo needs to build, run, test and package, but only those
# missing: when everything is there it calls no apt and needs no administrator. dpkg-query only
# knows real packages, never a virtual name that another package provides, so every name here
# must be a real one. A package held at its version (apt-mark hold: "hold ok installed") is
# installed all the same.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl-dev
    qt6-svg-dev qt6-qpa-plugins qt6-translations-l10n
    libjpeg-dev fonts-comic-neue libbenchmark-dev
    libxcb1-dev
    xvfb xauth xdotool xsel imagemagick openbox wmctrl x11-utils python3 util-linux
    dbus-daemon libglib2.0-bin at-spi2-core python3-dbus python3-gi
    clang libclang-rt-14-dev
    dpkg-dev file appstream desktop-file-utils lintian man-db
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -Eqx "(install|hold) ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Paquets à installer : ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    apt_get=(apt-get)
elif command -v sudo >/dev/null 2>&1; then
    apt_get=(sudo apt-get)
else
    echo "Il faut être administrateur (root ou sudo) pour installer : ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${apt_get[@]}" update -qq
"${apt_get[@]}" install -y -qq --no-install-recommends "${missing[@]}"
