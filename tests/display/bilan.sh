#!/usr/bin/env bash
# The "Bilan" page of the real program on a real X display: a goal and a weekly rate set (a rate
# too fast refused), every weight exported as CSV, weights imported from a CSV file of the other
# form, the chart saved as JPEG, once with the keyboard only and once with the mouse (typing only
# the goal's value); then an old backup restored from the "Sauvegardes…" window, keyboard only and
# mouse only; then a month of weighings and meals typed in, and the target of the day that the
# "Calories" page shows, as a screen reader reads it, compared with the core's. The files left on
# disk are checked byte by byte.
# Usage: bilan.sh KALIMO UNSCRAMBLE SOURCE_FOLDER OUTPUT_FOLDER
set -euo pipefail
kalimo="$(realpath "$1")"
unscramble="$(realpath "$2")"
source_dir="$(realpath "$3")"
out="$4"
rm -rf "$out"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

# shellcheck source=tests/display/harness.sh
source "$(dirname "$0")/harness.sh"
need Xvfb xdotool xwininfo import openbox python3
start_display "$out"
window_pause=0.4

# WINDOW X Y: a click at a point of the window's client area; negative X or Y count from the
# right or bottom edge (the buttons of boxes and dialogs sit there).
click() {
    local geo x0 y0 w h x y
    geo=$(xwininfo -id "$1")
    x0=$(awk '/Absolute upper-left X/ {print $4}' <<<"$geo")
    y0=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geo")
    w=$(awk '/Width:/ {print $2}' <<<"$geo")
    h=$(awk '/Height:/ {print $2}' <<<"$geo")
    x=$2; y=$3
    [ "$x" -lt 0 ] && x=$((w + x))
    [ "$y" -lt 0 ] && y=$((h + y))
    xdotool mousemove $((x0 + x)) $((y0 + y))
    sleep 0.2
    xdotool click --repeat "${4:-1}" --delay 80 1
    sleep 0.4
}
wait_file() { # FILE (up to 20 s, as long as a window is waited for)
    for _ in $(seq 200); do [ -f "$1" ] && return 0; sleep 0.1; done
    fail "$1 n'a pas été écrit"
}

m=$(date +%-m); mm=$(date +%m); y=$(date +%Y)
days=$(date -d "$(date +%Y-%m-01) +1 month -1 day" +%-d)
month_file() { # V1 V2 V3: the weight file holding the month with these first three days
    crlf "[$m/$y]" "v1=$1" "v2=$2" "v3=$3"
    for d in $(seq 4 "$days"); do crlf "v$d=0"; done
}

# SESSION: a data folder with Paul's account and two weights this month, Kalimo started in it,
# Paul logged in, the "Bilan" page not yet shown.
start() {
    data="$out/$1/data"
    mkdir -p "$data"
    # The default food database, as Kalimo writes it at its first start.
    iconv -f UTF-8 -t WINDOWS-1252 "$source_dir/resources/data/calories.ini" | sed 's/$/\r/' >"$data/calories.ini"
    crlf "[Paul]" "password=pw" >"$data/compte.ini"
    month_file 80 79,5 0 >"$data/Paul.ini"
    printf 'date,weight\n%s-%s-02,79\n%s-%s-03,78.5\n%s-%s-04,x\n' "$y" "$mm" "$y" "$mm" "$y" "$mm" >"$data/ailleurs.csv"
    if [ "${2:-}" = sauvegarde ]; then
        # A backup of the 15th of January 2025: other weights this month and a food log.
        mkdir -p "$data/sauvegardes/2025-01-15"
        month_file 70 71 72 >"$out/$1/ancien.ini"
        crlf "[2/$m/$y]" "Abats=2" >"$out/$1/ancien.cal"
        "$unscramble" account "$out/$1/ancien.ini" scramble >"$data/sauvegardes/2025-01-15/Paul.ini.cry"
        "$unscramble" account "$out/$1/ancien.cal" scramble >"$data/sauvegardes/2025-01-15/Paul.cal.cry"
        cp -r "$data/sauvegardes" "$out/$1/avant"
    fi
    (cd "$data" && exec "$kalimo") >"$out/$1/kalimo.log" 2>&1 &
    kalimo_pid=$!
    local login
    login=$(window "Kalimo - Identification")
    xdotool type --delay 40 "Paul"
    xdotool key Tab
    xdotool type --delay 40 "pw"
    xdotool key Return
    main=$(window "Kalimo - Paul")
    sleep 0.5
}

# A JPEG picture, and no temporary bitmap beside it.
picture() { # SESSION FILE
    wait_file "$2"
    [ "$(head -c 2 "$2" | od -An -tx1 | tr -d ' ')" = "ffd8" ] || fail "$1 : $2 n'est pas une image JPEG"
    ls "$(dirname "$2")" | grep -q 'tmp\.bmp$' && fail "$1 : une image temporaire est restée"
    return 0
}

# Kalimo has quit: the files are plain; check them.
finish() { # SESSION DAY2 LINE...: the weight of the 2nd after the import, the accounts file's lines
    ended "$1"
    cmp "$data/Paul.ini" <(month_file 80 "$2" 78,5) || fail "$1 : le fichier des poids n'a pas le contenu attendu"
    # Quitting scrambles the accounts file: read it back. The goal and the rate are there, as
    # set, with the settings the main window stores.
    "$unscramble" accounts "$data/compte.ini.cry" >"$out/$1/compte.ini"
    cmp "$out/$1/compte.ini" <(crlf "${@:3}") || fail "$1 : l'objectif ou le rythme n'est pas enregistré tel quel"
    cmp "$csv" <(printf '\xEF\xBB\xBF'; crlf "date;poids" "01/$mm/$y;80" "02/$mm/$y;79,5") \
        || fail "$1 : le fichier CSV n'a pas le contenu attendu"
    [ "$(python3 -c 'import csv,sys
print(list(csv.reader(open(sys.argv[1], newline="", encoding="utf-8-sig"), delimiter=";"))[2])' "$csv")" \
        = "['02/$mm/$y', '79,5']" ] || fail "$1 : le module csv de Python ne relit pas le fichier"
}

# Keyboard only: Alt+B shows the page, Alt+J the goal, Alt+Y the rate, Alt+T the whole journal,
# Alt+P the export, Alt+I the import; the import replaces the day that differs ("&Oui"). The chart is saved from
# its button, reached with Shift+Tab from the span.
start clavier
xdotool key alt+b
sleep 0.5
xdotool key alt+j
xdotool type --delay 60 "75.5"
xdotool key Return
# The rate: Alt+Y, one step faster (−0,75 kg, stored), one more (−1 kg: faster than 1 % of the
# trend weight, refused with the reason, nothing written).
xdotool key alt+y Up
sleep 0.3
xdotool key Up
box=$(window "Kalimo")
shot clavier/rythme-refuse
xdotool key Return
gone "$box"
xdotool key alt+t alt+p
dialog=$(window "Exportation du journal...")
csv="$out/clavier/poids.csv"
xdotool key ctrl+a
xdotool type --delay 20 "$out/clavier/poids"
xdotool key Return
gone "$dialog"
wait_file "$csv"
xdotool key alt+i
dialog=$(window "Importation de poids...")
xdotool type --delay 20 "$data/ailleurs.csv"
xdotool key Return
box=$(window "Confirmation")
shot clavier/resume
xdotool key alt+o
gone "$box"
box=$(window "Kalimo")
xdotool key Return
gone "$box"
shot clavier/bilan
xdotool key alt+d shift+Tab space
dialog=$(window "Enregistrement de ce graphique...")
xdotool key ctrl+a
xdotool type --delay 20 "$out/clavier/courbe"
xdotool key Return
gone "$dialog"
picture clavier "$out/clavier/courbe.jpg"
xdotool key alt+q
finish clavier 79 "[Paul]" "password=pw" "details=0" "taille=100" "objectif=75,5" "rythme=-0,75"

# Mouse only (the goal's digits apart): the rate picked in its list, the proposed name kept, the
# file to import picked in the list, the day that differs kept ("&Non").
start souris
click "$main" 310 14        # the "Bilan" tab
click "$main" 419 41        # the goal
xdotool type --delay 60 "74"
click "$main" 484 41        # "Fixer"
click "$main" 560 41        # the rate: its list opens with −0,5 kg, the default, over the box
click "$main" 560 62        # −0,25 kg par semaine, the next line
click "$main" 376 458       # "Tout le journal"
click "$main" 207 458       # "Exporter les poids"
dialog=$(window "Exportation du journal...")
csv="$data/Poids Paul.csv"
click "$dialog" -59 -54     # "Enregistrer"
gone "$dialog"
wait_file "$csv"
click "$main" 623 458       # "Importer des poids"
dialog=$(window "Importation de poids...")
click "$dialog" 169 70 2    # "ailleurs.csv", first in the list
box=$(window "Confirmation")
click "$box" -137 -23       # "Non"
gone "$box"
box=$(window "Kalimo")
click "$box" -52 -24        # "OK"
gone "$box"
shot souris/bilan
click "$main" 198 41        # the chart's save button
dialog=$(window "Enregistrement de ce graphique...")
click "$dialog" -59 -54     # "Enregistrer", the chart's title as the name
gone "$dialog"
months=(Janvier Février Mars Avril Mai Juin Juillet Août Septembre Octobre Novembre Décembre)
picture souris "$data/Bilan 3 mois - ${months[m - 1]} $y.jpg"
click "$main" 40 16         # "Quitter"
finish souris 79,5 "[Paul]" "password=pw" "details=0" "objectif=74" "rythme=-0,25" "taille=100"
# The backup is back, byte for byte; the journal as it was before is kept under today's date, and
# the old backup is untouched.
restored() { # SESSION
    ended "$1"
    cmp "$data/Paul.ini" "$out/$1/ancien.ini" || fail "$1 : le fichier des poids n'est pas celui de la sauvegarde"
    cmp "$data/Paul.cal" "$out/$1/ancien.cal" || fail "$1 : le journal des repas n'est pas celui de la sauvegarde"
    cmp <("$unscramble" account "$data/sauvegardes/$(date +%F)/Paul.ini.cry") <(month_file 80 79,5 0) \
        || fail "$1 : l'état d'avant la restauration n'est pas sauvegardé"
    diff -r "$out/$1/avant/2025-01-15" "$data/sauvegardes/2025-01-15" || fail "$1 : l'ancienne sauvegarde a changé"
}

# Keyboard only: Alt+G opens the window from the "Bilan" page, Space chooses the only backup,
# Alt+R restores it after "&Oui", Escape closes the window, Alt+Q quits.
start sauvegardes-clavier sauvegarde
xdotool key alt+b
sleep 0.5
xdotool key alt+g
backups=$(window "Sauvegardes")
xdotool key space alt+r
box=$(window "Confirmation")
shot sauvegardes-clavier/question
xdotool key alt+o
gone "$box"
shot sauvegardes-clavier/liste
xdotool key Escape
gone "$backups"
xdotool key alt+q
restored sauvegardes-clavier

# Mouse only.
start sauvegardes-souris sauvegarde
click "$main" 310 14        # the "Bilan" tab
click "$main" 634 41        # "Sauvegardes…"
backups=$(window "Sauvegardes")
shot sauvegardes-souris/fenetre
click "$backups" 60 63      # the backup of the 15th of January
click "$backups" 35 -20     # "Restaurer"
box=$(window "Confirmation")
shot sauvegardes-souris/question
click "$box" -137 -23       # "Oui"
gone "$box"
click "$backups" 98 -20     # "Fermer"
gone "$backups"
click "$main" 40 16         # "Quitter"
restored sauvegardes-souris

# A month of weighings and meals typed in this month's first 27 days (83 kg falling by 0,1 kg a
# day, 18 "Abats" a day, each added with Alt+A from the grid), then the 28th shown with a food
# added: the "Calories" page's target and what is left, as a screen reader reads them, are the
# core's figures for the same files.
start_accessibility "$out"
start objectif
click "$main" 257 12        # the "Calories" tab
click "$main" 189 325       # the categories…
xdotool key End             # …"viande", the last
sleep 0.3
click "$main" 329 325       # "Abats", its first food
click "$main" 611 431       # the quantity
xdotool key ctrl+a
xdotool type --delay 40 "18"
click "$main" 100 161       # the grid's 2nd day, then the 1st with its text selected
xdotool key Up
expected_weights="$out/objectif/attendu.ini"
expected_meals="$out/objectif/attendu.cal"
crlf "[$m/$y]" >"$expected_weights"
: >"$expected_meals"
for d in $(seq 1 27); do
    kg=$(awk -v d="$d" 'BEGIN { printf "%.1f", 83 - (d - 1) / 10 }' | sed 's/\.0$//')
    xdotool type --delay 30 "$kg"
    xdotool key alt+a
    sleep 0.15
    xdotool key Down
    crlf "v$d=${kg/./,}" >>"$expected_weights"
    crlf "[$d/$m/$y]" "Abats=18" >>"$expected_meals"
done
for d in $(seq 28 "$days"); do crlf "v$d=0" >>"$expected_weights"; done
xdotool key alt+a
crlf "[28/$m/$y]" "Abats=18" >>"$expected_meals"
sleep 0.5
shot objectif/calories
shown_target=$(/usr/bin/python3 "$(dirname "$0")/atspilabel.py" "Kalimo - Paul" "Objectif : ")
core_target=$(cd "$data" && "$(dirname "$unscramble")/kalimo_energy_figures" Paul "28/$m/$y" | head -n 1)
echo "objectif : « $shown_target » ; le cœur : « $core_target »"
[[ "$shown_target" == "Objectif : "*" kcal ; "* ]] || fail "objectif : pas d'objectif du jour : $shown_target"
[ "$shown_target" = "$core_target" ] || fail "objectif : la page montre « $shown_target », le cœur « $core_target »"
xdotool key alt+q
ended objectif
cmp "$data/Paul.ini" "$expected_weights" || fail "objectif : le fichier des poids n'a pas le contenu attendu"
cmp "$data/Paul.cal" "$expected_meals" || fail "objectif : le journal des repas n'a pas le contenu attendu"
echo "5 passed, 0 failed"
