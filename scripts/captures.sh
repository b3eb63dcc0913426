#!/usr/bin/env bash
# Makes the screenshots named in the AppStream metadata from the real windows, on a display of
# its own: the login window and the main window of an account with a fortnight of weights.
# They go to docs/captures, reduced to a small palette to keep them light.
# Usage: scripts/captures.sh [KALIMO]   (build/release/src/kalimo by default)
set -euo pipefail
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
kalimo="$(realpath "${1:-$source_dir/build/release/src/kalimo}")"
out="$source_dir/docs/captures"
work="$(mktemp -d)"
mkdir -p "$out"

# shellcheck source=tests/display/harness.sh
source "$source_dir/tests/display/harness.sh"
at_exit() { rm -rf "$work"; }
need Xvfb xdotool import convert openbox
export XDG_RUNTIME_DIR="$work"
start_display "$work"

keep() { # WINDOW NAME
    sleep 0.5
    import -window "$1" "$work/$2.png"
    convert "$work/$2.png" -strip -colors 96 "PNG8:$out/$2.png"
}

"$kalimo" --dossier "$work/donnees" >/dev/null 2>&1 &
kalimo_pid=$!
box=$(window Kalimo)
answer "$box"
login=$(window "Kalimo - Identification")
keep "$login" identification
click "$login" 200 48
xdotool type --delay 50 "Marie"
click "$login" 200 78
xdotool type --delay 50 "pw"
click "$login" 45 110
confirm=$(window Confirmation)
answer "$confirm"
main=$(window "Kalimo - Marie")
sleep 0.5
click "$main" 100 161
xdotool key Up
for w in 72.5 72.3 72.4 71.9 71.8 72 71.6 71.5 71.7 71.2 71.1 71.3 70.9 70.8; do
    xdotool type --delay 40 "$w"
    xdotool key Down
done
click "$main" 70 407
xdotool key ctrl+a
xdotool type --delay 40 "168"
click "$main" 100 341
keep "$main" fenetre-principale
