#!/usr/bin/env bash
# Nothing happens that the person did not do. The real program on a real X display, twice: once
# driven with the keyboard only, once with the mouse only (text typed where a name or a number is
# asked). After each step the files on disk are checked: a list given the focus chooses nothing,
# picking a month or typing a year saves nothing, the editor deletes no category nobody chose,
# the help window shows no topic before one is selected, "paul" stays "paul". A third run sends
# text to the weight grid and to the goal by every path (keys, Escape, Alt+letter, the clipboard,
# the mouse, the focus coming back from the about window): the files hold exactly the weights typed,
# a hand-written "72.5" stays as it was. A fourth run deletes an account and creates it again: the
# new account finds nothing of the old one. A fifth run logs a meal at the keyboard only, in few
# keys: a food found by part of its name typed without accents, a recent food, the day before
# copied; a sixth does the same with the mouse only. The food log is checked byte for byte.
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
    if [ "$1" = saisie ]; then # this month as Windows writes it: a weight with a period on the 7th
        crlf "[$(date +%-m)/$(date +%Y)]" >>"$data/Paul.ini"
        for d in $(seq 1 "$(date -d "$(date +%Y-%m-01) +1 month -1 day" +%-d)"); do
            if [ "$d" = 7 ]; then crlf "v7=72.5"; else crlf "v$d=0"; fi
        done >>"$data/Paul.ini"
    fi
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
keys Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab # past the search, to the category list, which makes "boisson" current
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
xdotool mousemove --window "$main" 610 427 click --repeat 2 1 # a decimal quantity: kept as typed, refused
sleep 0.3
type_text "1,5"
click "$main" 517 452 # "Ajouter"
box=$(window "Kalimo")
import -window "$box" "$out/quantite.png"
[ "$(xdotool getwindowname "$box")" = "Kalimo" ] || fail "pas de boîte pour la quantité 1,5"
answer "$box"
cmp -s "$data/paul.cal" "$out/attendu.cal" || fail "la quantité 1,5 a été enregistrée"

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
click "$main" 100 215 # day 5: its "0" selected
click "$main" 100 215 # clicked again: the caret after the "0"
type_text "70"
keys ctrl+a
type_text "," # a lone comma: refused
keys Down Down Down # through the "72.5" of day 7, as Windows wrote it, and out of it
type_text "a" # refused
printf '55' | xsel --primary --input
xdotool mousemove --window "$main" 100 269 click 2 # pasted after the "0" of day 8 with the middle button
sleep 0.4
days=$(date -d "$(date +%Y-%m-01) +1 month -1 day" +%-d)
{
    crlf "[2/2002]" "v1=70" "[$(date +%-m)/$(date +%Y)]" "v1=8" "v2=64,4" "v3=62,3" "v4=65,5" "v5=70" "v6=69"
    crlf "v7=72.5" "v8=55"
    for d in $(seq 9 "$days"); do crlf "v$d=0"; done
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

# ---- An account deleted (keyboard), then created again with the mouse ----
data="$out/suppression"
mkdir -p "$data/sauvegardes/2005-01-01" "$data/sauvegardes/2005-01-02"
crlf "[Paul]" "password=pw" "[Zoe]" "password=z" >"$data/compte.ini"
crlf "[1/2005]" "v1=60" >"$data/Zoe.ini"
crlf "[1/1/2005]" "Abats=2" >"$data/Zoe.cal"
crlf "old" >"$data/sauvegardes/2005-01-01/Zoe.ini.cry"
crlf "old" >"$data/sauvegardes/2005-01-01/compte.ini.cry"
crlf "old" >"$data/sauvegardes/2005-01-02/Zoe.cal.cry"
crlf "Paul" >"$data/sauvegardes/2005-01-02/Paul.ini.cry"
cp -r "$data" "$out/suppression.avant"
(cd "$data" && exec "$kalimo") >"$out/kalimo-suppression.log" 2>&1 &
kalimo_pid=$!
window "Kalimo" >/dev/null
keys Return # the food database written on first start is announced
gone "Kalimo"
login=$(window "Kalimo - Identification")
type_text "Zoe"
keys Tab
type_text "z"
keys Tab Tab Tab space # "détruire compte"
box=$(window "Confirmation")
import -window "$box" "$out/suppression.png"
keys Return # "Non", the default
gone "Confirmation"
for f in compte.ini Zoe.ini Zoe.cal sauvegardes/2005-01-01/Zoe.ini.cry sauvegardes/2005-01-02/Zoe.cal.cry; do
    same "$data/$f" "$out/suppression.avant/$f" "« Non » à la suppression"
done
window "Kalimo - Identification" >/dev/null
keys space # the link still has the focus
window "Confirmation" >/dev/null
keys alt+o # "Oui"
gone "Confirmation"
deleted() { [ -z "$(cd "$data" && find . -iname 'zoe*')" ] && [ ! -e "$data/sauvegardes/2005-01-01" ]; }
eventually deleted || fail "des fichiers du compte supprimé restent : $(cd "$data" && find . -iname 'zoe*' | tr '\n' ' ')"
crlf "[Paul]" "password=pw" >"$out/attendu-suppression.ini"
cmp -s "$data/compte.ini" "$out/attendu-suppression.ini" || fail "la section du compte supprimé reste"
same "$data/sauvegardes/2005-01-02/Paul.ini.cry" "$out/suppression.avant/sauvegardes/2005-01-02/Paul.ini.cry" \
    "la sauvegarde d'un autre compte"
click "$login" 200 48
type_text "Zoe"
click "$login" 200 78
type_text "neuf"
click "$login" 45 110 # "nouveau compte"
window "Confirmation" >/dev/null
keys Return # the account is created
main=$(window "Kalimo - Zoe")
[ "$(xdotool getwindowname "$main")" = "Kalimo - Zoe" ] || fail "le compte recréé ne s'ouvre pas"
type_text "71"
{
    crlf "[$(date +%-m)/$(date +%Y)]" "v1=71"
    for d in $(seq 2 "$(date -d "$(date +%Y-%m-01) +1 month -1 day" +%-d)"); do crlf "v$d=0"; done
} >"$out/attendu-zoe.ini"
eventually cmp -s "$data/Zoe.ini" "$out/attendu-zoe.ini" || fail "le compte recréé ne part pas de rien"
[ ! -e "$data/Zoe.cal" ] || fail "le compte recréé a trouvé l'ancien journal des calories"
click "$main" 30 16 # "Quitter": the files stay plain
ended
cmp -s "$data/Zoe.ini" "$out/attendu-zoe.ini" || fail "le journal du compte recréé"
[ ! -e "$data/sauvegardes/2005-01-01" ] && [ -z "$(find "$data/sauvegardes" -iname 'zoe.cal*')" ] ||
    fail "une ancienne sauvegarde du compte supprimé reste"

# ---- A meal in a few keys: the search typed without accents, a recent food, the day before ----
day_key() { date -d "$1 days ago" +%-d/%-m/%Y; }
cp1252() { iconv -f UTF-8 -t CP1252; }
mkdir -p "$out/rapide"
crlf "[$(day_key 2)]" "Café au lait=2" "Pizza=1" "[$(day_key 1)]" "Café au lait=1" "Abats=2" | cp1252 >"$out/rapide/Paul.cal"
cp "$out/rapide/Paul.cal" "$out/journal-rapide.cal"
start rapide
window "Kalimo - Identification" >/dev/null
type_text "paul"
keys Tab
type_text "pw"
keys Return
window "Kalimo - paul" >/dev/null
for _ in $(seq 2 "$(date +%-d)"); do xdotool key Down; done # today's row
sleep 0.3
keys shift+Tab shift+Tab shift+Tab shift+Tab Right # the tab bar: the "Calories" page
keys alt+r
type_text "oeuf dur" # "Œuf dur", the best match
keys Return Return # chosen, the focus in the quantity (1), added
keys alt+n Return Return # the food eaten most often lately: "Café au lait"
keys alt+v
window "Confirmation" >/dev/null
keys Return # "Oui": yesterday's two foods added to today
gone "Confirmation"
{
    cat "$out/journal-rapide.cal"
    crlf "[$(day_key 0)]" "Œuf dur=1" "Café au lait=2" "Abats=2" | cp1252
} >"$out/attendu-rapide.cal"
eventually cmp -s "$data/Paul.cal" "$out/attendu-rapide.cal" || fail "le repas saisi au clavier n'est pas celui attendu"
stop

# ---- The same with the mouse only (text typed where words are asked), on the 1st of this month
# in 2052: its day before is the last day of the month before, its recent foods those of the
# days before it, whatever today is ----
first="2052-$(date +%m)-01"
key_of() { date -d "$first $1 day" +%-d/%-m/%Y; }
mkdir -p "$out/rapide-souris"
crlf "[$(key_of -2)]" "Café au lait=1" "Pizza=1" "[$(key_of -1)]" "Pizza=1" "Abats=2" | cp1252 >"$out/rapide-souris/Paul.cal"
cp "$out/rapide-souris/Paul.cal" "$out/journal-rapide-souris.cal"
start rapide-souris
login=$(window "Kalimo - Identification")
click "$login" 200 48
type_text "paul"
click "$login" 200 78
type_text "pw"
click "$login" 306 64
main=$(window "Kalimo - paul")
xdotool mousemove --window "$main" 100 98 click --repeat 2 1 # the year's text selected
sleep 0.3
type_text "2052"
click "$main" 257 12 # the "Calories" page, the 1st shown
click "$main" 250 241 # the first recent food: "Pizza", eaten on both days before
click "$main" 517 452 # "Ajouter"
click "$main" 450 280 # "Rechercher :"
type_text "cafe lait"
click "$main" 240 326 # "Café au lait (boisson)", the only result
click "$main" 517 452
click "$main" 627 249 # "Copier la veille"
box=$(window "Confirmation")
read -r bw bh < <(xwininfo -id "$box" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
click "$box" $((bw - 139)) $((bh - 23)) # "Oui"
gone "$box"
{
    cat "$out/journal-rapide-souris.cal"
    crlf "[$(key_of 0)]" "Pizza=2" "Café au lait=1" "Abats=2" | cp1252
} >"$out/attendu-rapide-souris.cal"
eventually cmp -s "$data/Paul.cal" "$out/attendu-rapide-souris.cal" || fail "le repas saisi à la souris n'est pas celui attendu"
stop
echo "1 passed, 0 failed"
