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

display=""
for n in $(seq 40 69); do
    if [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "aucun écran libre" >&2; exit 1; }
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
kalimo_pid=""
wm=""
cleanup() {
    [ -n "$kalimo_pid" ] && kill "$kalimo_pid" 2>/dev/null || true
    [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY="$display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work"
chmod 0700 "$work"
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm=$!
sleep 0.5

fail() { echo "ÉCHEC : $*" >&2; exit 1; }
window() {
    local id
    id=$(timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1) || fail "pas de fenêtre « $1 »"
    xdotool windowactivate --sync "$id" >/dev/null 2>&1 || true
    sleep 0.3
    echo "$id"
}
answer() { # WINDOW: presses Enter in a message box until it is gone
    for _ in $(seq 20); do
        xdotool windowactivate --sync "$1" >/dev/null 2>&1 || return 0
        xdotool key Return
        sleep 0.3
        xdotool search --onlyvisible --name "." 2>/dev/null | grep -qx "$1" || return 0
    done
    fail "la boîte de message ne se ferme pas"
}
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.3; }
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
