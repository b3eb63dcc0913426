#!/usr/bin/env bash
# Installs the Debian packages Kalimo needs, but only those missing: when everything is there it
# calls no apt and needs no administrator. dpkg-query only knows real packages, never a virtual
# name that another package provides, so every name here must be a real one. A package held at
# its version (apt-mark hold: "hold ok installed") is installed all the same.
# Usage: scripts/dependances.sh [programme|tests|ci]
#   programme: what building and running Kalimo need (./lancer.sh);
#   tests:     and what its tests and benchmarks need (./tester.sh, the sanitizers, the screenshots);
#   ci:        and what the continuous integration adds: the fuzzers (clang) and the check of the
#              Debian package. The default, everything.
set -euo pipefail
level="${1:-ci}"

# Building (the release build takes Debian's hardening flags from dpkg-buildflags; the package's
# dependencies are found with dpkg-shlibdeps and file) and running.
packages=(
    cmake ninja-build g++ dpkg-dev file
    qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl-dev
    qt6-svg-dev qt6-qpa-plugins qt6-translations-l10n
    libjpeg-dev fonts-comic-neue
)
case "$level" in
programme) ;;
tests | ci)
    # The benchmarks; the real-display sessions, their screenshots and the screen-reader walk;
    # printed charts read back (pdftotext).
    packages+=(
        pkg-config libbenchmark-dev libxcb1-dev
        xvfb xauth xdotool xsel imagemagick openbox wmctrl x11-utils python3 util-linux
        dbus-daemon libglib2.0-bin at-spi2-core python3-dbus python3-gi
        poppler-utils
    )
    if [ "$level" = ci ]; then
        # The fuzzers; the package built and judged.
        packages+=(clang libclang-rt-14-dev appstream desktop-file-utils lintian man-db)
    fi
    ;;
*)
    echo "Usage : scripts/dependances.sh [programme|tests|ci]" >&2
    exit 2
    ;;
esac

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
