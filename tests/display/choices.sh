#!/usr/bin/env bash
# Nothing happens that the person did not do. The real program on a real X display, twice: once
# driven with the keyboard only, once with the mouse only (text typed where a name or a number is
# asked). After each step the files on disk are checked: a list given the focus chooses nothing,
# picking a month or typing a year saves nothing, the editor deletes no category nobody chose,
# the help window shows no topic before one is selected, "paul" stays "paul". A third run sends
# text to the weight grid and to the goal by every path (keys, Escape, Alt+letter, the clipboard,
# the mouse, the focus coming back from the about window): the files hold exactly the weights typed.
# Usage: choices.sh KALIMO OUTPUT_FOLDER
set -euo pipefail
kalimo="$(realpath "$1")"
out="$2"
rm -rf "$out"
mkdir -p "$out"

fail() {
    echo "ÉCHEC : $*" >&2
    [ -n "${DISPLAY:-}" ] && import -window root "$out/echec.png" 2>/dev/null || true
    exit 1
}
# shellcheck source=tests/display/harness.sh
source "$(dirname "$0")/harness.sh"
need Xvfb xdotool xsel import convert openbox wmctrl
start_display "$out"
click_pause=0.4

none_within() { # NAME: no such window appears within a second
    sleep 1
    [ -z "$(shown "$1")" ] || fail "« $1 » s'est ouverte sans que personne ne le demande"
}
keys() { xdotool key --delay 80 "$@"; sleep 0.3; }
type_text() { xdotool type --delay 80 "$1"; sleep 0.3; }
same() { # FILE COPY STEP: the file has not changed since the copy was taken
    cmp -s "$1" "$2" || fail "$3 : $(basename "$1") a changé"
}
# The help window's text frame: a blank area while no topic is shown.
frame_blank() {
    local id
    id=$(shown "Aide" | head -n 1)
    import -window "$id" "$out/aide.png"
    [ "$(convert "$out/aide.png" -crop 250x240+145+15 +repage -colorspace gray \
        -format '%[fx:standard_deviation==0]' info:)" = 1 ]
}
topic_shown() { ! frame_blank; }
db_text() { iconv -f CP1252 -t UTF-8 "$data/calories.ini" | tr -d '\r'; }
# Waits up to five seconds for a condition that the keys or clicks just sent should bring.
eventually() {
    for _ in $(seq 50); do
        "$@" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

start() { # RUN: a data folder holding Paul's account and a February 2002 weight
    data="$out/$1"
    mkdir -p "$data"
    crlf "[Paul]" "password=pw" >"$data/compte.ini"
    crlf "[2/2002]" "v1=70" >"$data/Paul.ini"
    cp "$data/Paul.ini" "$out/Paul.ini.$1"
    (cd "$data" && exec "$kalimo") >"$out/kalimo-$1.log" 2>&1 &
    kalimo_pid=$!
    window "Kalimo" >/dev/null
    keys Return # the food database written on first start is announced
    gone "Kalimo"
    [ -f "$data/calories.ini" ] || fail "calories.ini n'a pas été écrit"
    cp "$data/calories.ini" "$out/calories.ini.$1"
}
stop() {
    wmctrl -c "Kalimo - paul"
    ended
    [ -f "$data/Paul.ini.cry" ] && [ ! -f "$data/Paul.ini" ] || fail "le fichier des poids n'est pas brouillé"
}

# ---- Keyboard only ----
start clavier
window "Kalimo - Identification" >/dev/null
keys Tab Tab Tab Tab Tab space # past "OK" and the two links: the help button
window "Aide" >/dev/null
frame_blank || fail "l'aide montre un sujet avant qu'on en choisisse un"
keys space # the first topic ("Bilan") selected
eventually topic_shown || fail "le sujet choisi au clavier ne s'affiche pas"
keys alt+F4
gone "Aide"
window "Kalimo - Identification" >/dev/null
keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab # back to the account box, past the links and "OK"
type_text "paul"
keys Tab # leaves the box: "Paul" is listed, "paul" stays
type_text "pw"
keys Return
window "Kalimo - paul" >/dev/null
# The Return that logged in is released over the grid, which may save the month shown: the
# weights are followed from here.
weights="$out/Paul.ini.clavier"
cp "$data/Paul.ini" "$weights"
keys shift+Tab shift+Tab f # from the grid to the month: February
same "$data/Paul.ini" "$weights" "quitter la grille et choisir février"
keys Tab
type_text "2002" # 2, 20 (a leap year: one more row), 200, 2002
same "$data/Paul.ini" "$weights" "taper l'année 2002"
keys ctrl+a
type_text "2005"
same "$data/Paul.ini" "$weights" "taper l'année 2005"
keys shift+Tab Up Down # January, then February again
same "$data/Paul.ini" "$weights" "changer de mois avec les flèches"
keys alt+Down
keys Down Return # March, chosen in the open list
same "$data/Paul.ini" "$weights" "choisir un mois dans la liste ouverte"
keys Tab Tab # through the year box to the grid
type_text "71"
{
    cat "$weights"
    crlf "[3/2005]" "v1=71"
    for d in $(seq 2 31); do crlf "v$d=0"; done
} >"$out/attendu.ini"
eventually cmp -s "$data/Paul.ini" "$out/attendu.ini" || fail "le poids tapé dans la grille n'est pas enregistré tel quel"

keys shift+Tab shift+Tab shift+Tab shift+Tab Right # the tab bar: the "Calories" page
keys Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab # to the category list, which makes "boisson" current
keys alt+a # answered by "Veuillez saisir une catégorie et un aliment"
window "Kalimo" >/dev/null
keys Return
gone "Kalimo"
type_text "vi" # "viande", chosen by typing
keys Tab # the food list: "Abats" current, not chosen
keys alt+a
window "Kalimo" >/dev/null
keys Return
gone "Kalimo"
[ ! -f "$data/paul.cal" ] || fail "un aliment a été ajouté sans être choisi"
keys space alt+a # "Abats" chosen, then added
crlf "[1/3/2005]" "Abats=1" >"$out/attendu.cal"
eventually cmp -s "$data/paul.cal" "$out/attendu.cal" || fail "l'aliment choisi n'est pas ajouté"

database="$out/calories.ini.clavier"
keys alt+c
window "Configuration de la Base de Données des calories" >/dev/null
keys Tab Tab Tab Tab space # the category "Supprimer": no category chosen
none_within "Confirmation"
same "$data/calories.ini" "$database" "supprimer sans catégorie choisie"
[ ! -f "$data/calsuppr.ini" ] || fail "des aliments ont été mis de côté sans suppression demandée"
keys shift+Tab shift+Tab shift+Tab shift+Tab
type_text "div" # "divers"
keys Tab Tab Tab Tab Tab Tab # to the name of the food
type_text "Pain Kalimo"
keys Tab
type_text "12.53"
keys Home Delete Tab # Delete removes the 1, Tab goes on to the proteins
type_text "7"
keys Tab
type_text "1"
keys Tab
type_text "2"
keys Tab space # "Ajouter / Modifier"
saved_as_typed() { db_text | grep -qzF $'[Pain Kalimo]\na=Pain Kalimo\nc=2,53\np=7\ng=1\nl=2\n'; }
eventually saved_as_typed || fail "l'aliment enregistré n'a pas les valeurs tapées"
db_text | sed -n '/^\[divers\]/,/^\[/p' | grep -qx "Pain Kalimo=" || fail "l'aliment n'est pas rangé dans « divers »"
keys alt+q
gone "Configuration de la Base de Données des calories"
stop

# ---- Mouse only ----
start souris
login=$(window "Kalimo - Identification")
click "$login" 200 48
type_text "paul"
click "$login" 200 78 # leaving the account box by a click keeps "paul"
type_text "pw"
click "$login" 306 64
main=$(window "Kalimo - paul")

weights="$out/Paul.ini.souris"
# The month list opens with the current month over the box, but where the screen lets it: its
# place depends on the date and on where the window stands, so February is found in the list
# as it opened (12 rows, January at the top).
click "$main" 107 69
list=""
for _ in $(seq 100); do
    for id in $(xwininfo -root -children | awk '/^ +0x/ {print $1}'); do
        info=$(xwininfo -id "$id")
        grep -q "Map State: IsViewable" <<<"$info" && grep -q "Override Redirect State: yes" <<<"$info" || continue
        read -r lx ly lh < <(awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} /Height:/ {h=$NF} END {print x, y, h}' <<<"$info")
        if [ "$lh" -ge 120 ]; then list="$lx $ly $lh"; break 2; fi
    done
    sleep 0.1
done
[ -n "$list" ] || fail "la liste des mois ne s'ouvre pas"
read -r lx ly lh <<<"$list"
xdotool mousemove $((lx + 40)) $((ly + lh * 3 / 24)) click 1 # February, the second of 12 rows
sleep 0.4
same "$data/Paul.ini" "$weights" "choisir février à la souris"
xdotool mousemove --window "$main" 100 98 click --repeat 2 1 # the year's text selected
sleep 0.3
type_text "2002"
same "$data/Paul.ini" "$weights" "taper l'année 2002"
xdotool mousemove --window "$main" 100 98 click --repeat 2 1
sleep 0.3
type_text "2005"
same "$data/Paul.ini" "$weights" "taper l'année 2005"

click "$main" 257 12 # the "Calories" page
click "$main" 585 452 # "Configurer": the editor's category list gets the focus
editor=$(window "Configuration de la Base de Données des calories")
click "$editor" 81 247 # the category "Supprimer": no category chosen
none_within "Confirmation"
same "$data/calories.ini" "$out/calories.ini.souris" "supprimer sans catégorie choisie"
[ ! -f "$data/calsuppr.ini" ] || fail "des aliments ont été mis de côté sans suppression demandée"
click "$editor" 441 246 # "Quitter"
gone "Configuration de la Base de Données des calories"
main=$(window "Kalimo - paul")

click "$main" 192 352 # "dessert"
click "$main" 380 326 # its first food
xdotool mousemove --window "$main" 610 427 click --repeat 2 1 # the quantity selected
sleep 0.3
type_text "3"
click "$main" 380 326 # the same food chosen again: the quantity is 1 again
click "$main" 517 452 # "Ajouter"
first=$(db_text | sed -n '/^\[dessert\]/,/^\[/p' | sed -n '2s/=$//p')
crlf "[1/2/2005]" "$first=1" | iconv -f UTF-8 -t CP1252 >"$out/attendu.cal"
eventually cmp -s "$data/paul.cal" "$out/attendu.cal" || fail "choisir de nouveau l'aliment choisi ne remet pas la quantité à 1"

click "$main" 643 452 # help
window "Aide" >/dev/null
frame_blank || fail "l'aide montre un sujet avant qu'on en choisisse un"
help=$(shown "Aide" | head -n 1)
click "$help" 48 69 # "Comptes"
eventually topic_shown || fail "le sujet cliqué ne s'affiche pas"
wmctrl -c "Aide"
gone "Aide"
stop

# ---- Only what the field takes, by every path: keys, Escape, Return, Alt, the clipboard, the mouse ----
clip() { printf '%s' "$1" | xsel --clipboard --input; }
start saisie
login=$(window "Kalimo - Identification")
click "$login" 200 48
type_text "paul"
click "$login" 200 78
type_text "pw"
keys Return
main=$(window "Kalimo - paul")
type_text "64.45"
keys Escape # the editor stays, its text selected
type_text "7"
keys Return # the same: selected again
type_text "8"
keys Down
type_text "70" # the "0" of the day entered is replaced
keys BackSpace BackSpace # "0" put back, selected
type_text "64.4"
keys Down
type_text "62.3"
keys alt+c alt+g # no control of the page answers them: no letter reaches the cell
keys Down
clip "abc"
keys ctrl+v shift+Insert
clip "65.5"
keys ctrl+v
click "$main" 100 233 # day 6
type_text "71"
click "$main" 665 42 # "A propos", with the mouse
window "A propos" >/dev/null
wmctrl -c "A propos"
gone "A propos"
window "Kalimo - paul" >/dev/null
type_text "69" # back in the cell of day 6, its text selected
days=$(date -d "$(date +%Y-%m-01) +1 month -1 day" +%-d)
{
    crlf "[2/2002]" "v1=70" "[$(date +%-m)/$(date +%Y)]" "v1=8" "v2=64,4" "v3=62,3" "v4=65,5" "v5=0" "v6=69"
    for d in $(seq 7 "$days"); do crlf "v$d=0"; done
} >"$out/attendu-saisie.ini"
eventually cmp -s "$data/Paul.ini" "$out/attendu-saisie.ini" || fail "la grille a reçu autre chose que les poids tapés"

# A one-line field: the goal, with the editing shortcuts.
keys alt+b alt+j
clip "abc"
keys ctrl+v
type_text "66.5x"
keys ctrl+a ctrl+x # empty, "66,5" in the clipboard
type_text "1"
keys ctrl+a ctrl+v Return
crlf "[Paul]" "password=pw" "details=0" "taille=100" "objectif=66,5" >"$out/attendu-compte.ini"
eventually cmp -s "$data/compte.ini" "$out/attendu-compte.ini" || fail "l'objectif enregistré n'est pas celui tapé"
stop
echo "1 passed, 0 failed"
