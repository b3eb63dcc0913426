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

# shellcheck source=tests/display/harness.sh
source "$(dirname "$0")/harness.sh"
need Xvfb xdotool import openbox wmctrl sha256sum

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

start_display "$out"
(cd "$data" && exec "$kalimo") >"$out/kalimo.log" 2>&1 &
kalimo_pid=$!

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
shot 01-nom-refuse
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
shot 02-mot-de-passe-refuse
answer "$box"
visible "Confirmation" && fail "le compte a été annoncé comme créé"
visible "Kalimo - Marie" && fail "le compte « Marie » a été ouvert"

wmctrl -c "Kalimo - Identification"
ended

[ "$(listing)" = "$before" ] || fail "un fichier autour du dossier des données a changé"
files=$(cd "$data" && ls -A | sort | tr '\n' ' ')
[ "$files" = "calories.ini compte.ini.cry " ] || fail "fichiers laissés : $files"
"$unscramble" accounts "$data/compte.ini.cry" | cmp -s - "$out/compte-ecrit.ini" \
    || fail "le fichier des comptes a changé"
echo "1 passed, 0 failed"
