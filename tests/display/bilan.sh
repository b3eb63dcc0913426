#!/usr/bin/env bash
# The "Bilan" page of the real program on a real X display: a goal set, every weight exported as
# CSV, weights imported from a CSV file of the other form, the chart saved as JPEG, once with the
# keyboard only and once with the mouse (typing only the goal's value); then an old backup
# restored from the "Sauvegardes…" window, keyboard only and mouse only. The files left on disk
# are checked byte by byte.
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
    cp "$source_dir/resources/data/calories.ini" "$data/"
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
finish() { # SESSION GOAL DAY2
    ended "$1"
    cmp "$data/Paul.ini" <(month_file 80 "$3" 78,5) || fail "$1 : le fichier des poids n'a pas le contenu attendu"
    # Quitting scrambles the accounts file: read it back.
    "$unscramble" accounts "$data/compte.ini.cry" >"$out/$1/compte.ini"
    grep -q $'^objectif='"$2"$'\r$' "$out/$1/compte.ini" || fail "$1 : l'objectif n'est pas enregistré"
    cmp "$csv" <(printf '\xEF\xBB\xBF'; crlf "date;poids" "01/$mm/$y;80" "02/$mm/$y;79,5") \
        || fail "$1 : le fichier CSV n'a pas le contenu attendu"
    [ "$(python3 -c 'import csv,sys
print(list(csv.reader(open(sys.argv[1], newline="", encoding="utf-8-sig"), delimiter=";"))[2])' "$csv")" \
        = "['02/$mm/$y', '79,5']" ] || fail "$1 : le module csv de Python ne relit pas le fichier"
}

# Keyboard only: Alt+B shows the page, Alt+J the goal, Alt+T the whole journal, Alt+P the export,
# Alt+I the import; the import replaces the day that differs ("&Oui"). The chart is saved from
# its button, reached with Shift+Tab from the span.
start clavier
xdotool key alt+b
sleep 0.5
xdotool key alt+j
xdotool type --delay 60 "75.5"
xdotool key Return
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
finish clavier 75,5 79

# Mouse only (the goal's digits apart): the proposed name kept, the file to import picked in
# the list, the day that differs kept ("&Non").
start souris
click "$main" 310 14        # the "Bilan" tab
click "$main" 419 41        # the goal
xdotool type --delay 60 "74"
click "$main" 484 41        # "Fixer"
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
finish souris 74 79,5
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
echo "4 passed, 0 failed"
