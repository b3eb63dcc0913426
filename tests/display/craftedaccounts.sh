#!/usr/bin/env bash
# The real program on a real X display, started in a data folder nested in a folder of its own,
# with an accounts file written by hand: its one account is named "../x" and has the password
# "pw". From the keyboard alone, that account is picked and the password typed and sent with
# Enter: Kalimo refuses the name. With the mouse, an account is created with a password that
# begins with a blank: Kalimo refuses it. The login window is then closed. Nothing around the
# data folder may have changed, and the accounts file comes back as it was written.
# Usage: craftedaccounts.sh KALIMO UNSCRAMBLE OUTPUT_FOLDER
set -euo pipefail
kalimo="$1"
unscramble="$2"
out="$3"
rm -rf "$out"
mkdir -p "$out/around/data"
around="$(cd "$out/around" && pwd)"
data="$around/data"

fail() { echo "ÉCHEC : $*" >&2; exit 1; }
for tool in Xvfb xdotool import openbox wmctrl sha256sum; do
    command -v "$tool" >/dev/null || fail "$tool manque"
done

crlf() { printf '%s\r\n' "$@"; }
# What "../x" would name: a journal and its scrambled copies beside the data folder.
crlf "[3/2005]" "v1=70" >"$around/x.ini"
printf 'copie' >"$around/x.ini.cry"
printf 'copie' >"$around/x.cal.cry"
crlf "[../x]" "password=pw" >"$data/compte.ini"
cp "$data/compte.ini" "$out/compte-ecrit.ini"
# Every file around the data folder with its content, and every folder.
listing() {
    cd "$around"
    find . -path ./data -prune -o -type d -print | sort
    find . -path ./data -prune -o -type f -print0 | sort -z | xargs -0 sha256sum
    cd - >/dev/null
}
before=$(listing)

display=""
for n in $(seq 70 99); do
    if [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || fail "aucun écran libre"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
xvfb=$!
kalimo_pid=""
wm=""
cleanup() {
    [ -n "$kalimo_pid" ] && kill "$kalimo_pid" 2>/dev/null || true
    [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
openbox >"$out/openbox.log" 2>&1 &
wm=$!
sleep 0.5

export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 0700 "$XDG_RUNTIME_DIR"
(cd "$data" && exec "$kalimo") >"$out/kalimo.log" 2>&1 &
kalimo_pid=$!

window() { # NAME: waits for a window whose title is exactly NAME
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
visible() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

box=$(window "Kalimo")
answer "$box" # the food database written at first start

# Keyboard only: the account box has the focus; Down picks the listed account.
login=$(window "Kalimo - Identification")
xdotool key Down
xdotool key Tab
xdotool type --delay 50 "pw"
xdotool key Return
refusal=$(window "Erreur")
import -window root "$out/01-nom-refuse.png"
answer "$refusal"
visible "Kalimo - ../x" && fail "le compte « ../x » a été ouvert"

# Mouse: a new account whose password begins with a blank.
xdotool mousemove --window "$login" 200 48 click --repeat 3 1
xdotool type --delay 50 "Marie"
xdotool mousemove --window "$login" 200 78 click 1
xdotool key ctrl+a
xdotool type --delay 50 " pw"
xdotool mousemove --window "$login" 45 110 click 1
box=$(window "Kalimo")
import -window root "$out/02-mot-de-passe-refuse.png"
answer "$box"
visible "Confirmation" && fail "le compte a été annoncé comme créé"
visible "Kalimo - Marie" && fail "le compte « Marie » a été ouvert"

wmctrl -c "Kalimo - Identification"
for _ in $(seq 100); do kill -0 "$kalimo_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$kalimo_pid" 2>/dev/null && fail "Kalimo ne s'est pas arrêté"
wait "$kalimo_pid" || fail "Kalimo s'est arrêté avec une erreur"
kalimo_pid=""

[ "$(listing)" = "$before" ] || fail "un fichier autour du dossier des données a changé"
files=$(cd "$data" && ls -A | sort | tr '\n' ' ')
[ "$files" = "calories.ini compte.ini.cry " ] || fail "fichiers laissés : $files"
"$unscramble" accounts "$data/compte.ini.cry" | cmp -s - "$out/compte-ecrit.ini" \
    || fail "le fichier des comptes a changé"
echo "1 passed, 0 failed"
