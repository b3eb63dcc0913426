#!/usr/bin/env bash
# Faults as a person meets them, on a real X display with the real keyboard and mouse, the files
# on disk checked after each:
#  - a weight file edited by hand ("7,,1"): every key in the grid brings one error box; closing
#    it with Return or Space neither crashes the program nor brings the box back, and the cell
#    editor stays open where it was (the digits typed between two boxes make one number);
#  - an account whose scrambled weight file cannot be read: it is not opened, nothing is written;
#  - a folder where the scrambled weight file should go: the account is not opened; made while
#    it is open, the close box reports it, the program still ends (exit code 0, folder lock
#    released), the plain journal stays and is used again.
# Usage: faults.sh KALIMO UNSCRAMBLE OUTPUT_FOLDER
set -euo pipefail
kalimo="$(readlink -f "$1")"
unscramble="$(readlink -f "$2")"
out="$3"
rm -rf "$out"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

# shellcheck source=tests/display/harness.sh
source "$(dirname "$0")/harness.sh"
need Xvfb xdotool openbox wmctrl
start_display "$out"

scramble() { # accounts|account FILE: scrambles standard input into FILE
    cat >"$out/plain"
    "$unscramble" "$1" "$out/plain" scramble >"$2"
}
start() { # FOLDER: the program, without root's right to read files whatever their mode
    local drop=()
    [ "$(id -u)" -eq 0 ] && drop=(setpriv --bounding-set -dac_override,-dac_read_search)
    (cd "$1" && exec "${drop[@]}" "$kalimo") >>"$out/kalimo.log" 2>&1 &
    kalimo_pid=$!
}
alive() { kill -0 "$kalimo_pid" 2>/dev/null || fail "Kalimo s'est arrêté ($1)"; }
boxes() { # how many error boxes are shown now
    shown "Kalimo" | wc -l
}
close_box() { # KEY: one box is shown, closed with KEY; it stays closed
    local box
    box=$(window "Kalimo")
    [ "$(boxes)" = 1 ] || fail "plus d'une boîte d'erreur"
    xdotool key "$1"
    sleep 1
    alive "après la boîte fermée par $1"
    [ "$(boxes)" = 0 ] || fail "la boîte revient après $1"
}
close_all_boxes() { # the boxes shown one after the other (each handler that draws the month at show)
    window "Kalimo" >/dev/null
    for _ in $(seq 10); do
        [ "$(boxes)" = 0 ] && return 0
        xdotool key Return
        sleep 0.8
    done
    fail "les boîtes ne cessent de revenir"
}
click_ok() { # the OK button of the one box shown, with the mouse
    local box WIDTH HEIGHT
    box=$(window "Kalimo")
    [ "$(boxes)" = 1 ] || fail "plus d'une boîte d'erreur"
    eval "$(xdotool getwindowgeometry --shell "$box" | grep -E '^(WIDTH|HEIGHT)=')"
    xdotool mousemove --window "$box" $((WIDTH - 52)) $((HEIGHT - 20)) click 1
    sleep 1
    alive "après la boîte fermée à la souris"
    [ "$(boxes)" = 0 ] || fail "la boîte revient après le clic"
}
log_in() { # the login window: account and password typed, Enter
    local login
    login=$(window "Kalimo - Identification")
    click "$login" 200 48
    xdotool type --delay 50 "Paul"
    click "$login" 200 78
    xdotool type --delay 50 "pw"
    xdotool key Return
}
month="$(date +%-m)/$(date +%Y)"

# 1. A failing save in the grid.
data="$out/grille"
mkdir -p "$data"
crlf "[Paul]" "password=pw" | scramble accounts "$data/compte.ini.cry"
crlf "[$month]" "v5=7,,1" >"$data/Paul.ini"
start "$data"
window "Kalimo" >/dev/null && xdotool key Return # the food database written at first start
log_in
close_all_boxes # the month drawn at show stops at "7,,1"
main=$(window "Kalimo - Paul")
click "$main" 100 161
xdotool key Up
close_box Return
xdotool type "5"
close_box Return
xdotool type "2"
close_box space
# With the mouse: the day of "7,,1" chosen, its index cannot be computed.
click "$main" 100 215
click_ok
wmctrl -c "Kalimo - Paul"
ended
"$unscramble" account "$data/Paul.ini.cry" | tr -d '\r' | grep -qx "v[0-9]*=52" || fail "le poids tapé en deux fois n'est pas 52"
"$unscramble" account "$data/Paul.ini.cry" | tr -d '\r' | grep -qx "v5=7,,1" || fail "la valeur du fichier a changé"

# 2. A scrambled weight file that cannot be read.
data="$out/illisible"
mkdir -p "$data"
cp "$out/grille/calories.ini" "$data/"
crlf "[Paul]" "password=pw" | scramble accounts "$data/compte.ini.cry"
crlf "[$month]" "v1=70" | scramble account "$data/Paul.ini.cry"
cp "$data/Paul.ini.cry" "$out/copie-avant"
chmod 000 "$data/Paul.ini.cry"
start "$data"
log_in
close_box Return
xdotool search --onlyvisible --name '^Kalimo - Paul$' >/dev/null 2>&1 && fail "le compte illisible a été ouvert"
wmctrl -c "Kalimo - Identification"
ended
chmod 600 "$data/Paul.ini.cry"
cmp -s "$data/Paul.ini.cry" "$out/copie-avant" || fail "la copie illisible a changé"
files=$(cd "$data" && ls | sort | tr '\n' ' ')
[ "$files" = "Paul.ini.cry calories.ini compte.ini.cry " ] || fail "fichiers laissés : $files"

# 3. A folder where the weight file's copy should be keeps the account closed at login, as an
#    unreadable copy does. Made while the account is open, it stops the scrambling at the close
#    box: reported, the program ends, the plain journal stays.
data="$out/fermeture"
mkdir -p "$data/Paul.ini.cry"
cp "$out/grille/calories.ini" "$data/"
crlf "[Paul]" "password=pw" | scramble accounts "$data/compte.ini.cry"
crlf "[$month]" "v1=70" >"$data/Paul.ini"
cp "$data/Paul.ini" "$out/poids-avant"
start "$data"
log_in
close_box Return
xdotool search --onlyvisible --name '^Kalimo - Paul$' >/dev/null 2>&1 && fail "le compte a été ouvert malgré le dossier Paul.ini.cry"
rmdir "$data/Paul.ini.cry"
click "$(window "Kalimo - Identification")" 200 78 # the fields keep their text
xdotool key Return
window "Kalimo - Paul" >/dev/null
mkdir "$data/Paul.ini.cry"
wmctrl -c "Kalimo - Paul"
window "Kalimo" >/dev/null
[ "$(boxes)" = 1 ] || fail "pas une seule boîte à la fermeture"
xdotool key Return
ended
cmp -s "$data/Paul.ini" "$out/poids-avant" || fail "le journal en clair a changé"
[ -f "$data/compte.ini.cry" ] && [ ! -e "$data/compte.ini" ] || fail "le fichier des comptes n'est pas brouillé"
rmdir "$data/Paul.ini.cry"
start "$data" # the folder is free again, and the plain journal is used
log_in
window "Kalimo - Paul" >/dev/null
wmctrl -c "Kalimo - Paul"
ended
"$unscramble" account "$data/Paul.ini.cry" | tr -d '\r' | grep -qx "v1=70" || fail "le journal n'a pas été repris"
echo "1 passed, 0 failed"
