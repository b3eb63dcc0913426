#!/usr/bin/env bash
# The real program on a real X display, driven with the real keyboard and mouse: first start in
# an empty folder, an account created, weights typed, a food added, the main window closed. The
# scrambled files left behind are then restored here and checked byte by byte. A screenshot of
# each window is kept in the output folder.
# Usage: realdisplay.sh KALIMO UNSCRAMBLE OUTPUT_FOLDER
set -euo pipefail
kalimo="$1"
unscramble="$2"
out="$3"
rm -rf "$out"
mkdir -p "$out/data"
data="$(cd "$out/data" && pwd)"

# shellcheck source=tests/display/harness.sh
source "$(dirname "$0")/harness.sh"
need Xvfb xdotool import openbox wmctrl

# A display of our own.
start_display "$out"
(cd "$data" && exec "$kalimo") >"$out/kalimo.log" 2>&1 &
kalimo_pid=$!

# First start: the food database is written and announced.
box=$(window "Kalimo")
shot 01-premier-demarrage
answer "$box"
[ -f "$data/calories.ini" ] || fail "calories.ini n'a pas été écrit"

# The login window: a new account.
login=$(window "Kalimo - Identification")
shot 02-identification
click "$login" 200 48
xdotool type --delay 50 "Test"
click "$login" 200 78
xdotool type --delay 50 "pw"
click "$login" 45 110
confirm=$(window "Confirmation")
shot 03-confirmation
answer "$confirm"

# The main window: a weight typed for the first day, reached with the arrow key, which selects
# the text of the cell entered.
main=$(window "Kalimo - Test")
sleep 0.5
click "$main" 100 161
xdotool key Up
xdotool type --delay 80 "72.5"
sleep 0.5
shot 04-fenetre-principale

# The "Calories" page: the first food of "viande" added twice over.
click "$main" 257 12
click "$main" 189 325
xdotool key End
sleep 0.3
click "$main" 329 325
click "$main" 611 431
xdotool key ctrl+a
xdotool type --delay 50 "2"
click "$main" 517 454
shot 05-calories

# Closed by its close box: the window manager asks the window to close.
wmctrl -c "Kalimo - Test"
ended

# Only the scrambled copies remain, beside the food database and the day's backup of them.
files=$(cd "$data" && ls | sort | tr '\n' ' ')
[ "$files" = "Test.cal.cry Test.ini.cry calories.ini compte.ini.cry sauvegardes " ] || fail "fichiers laissés : $files"
for f in Test.cal.cry Test.ini.cry calories.ini compte.ini.cry; do
    cmp "$data/$f" "$data/sauvegardes/$(date +%F)/$f" || fail "la sauvegarde du jour n'a pas $f"
done
"$unscramble" accounts "$data/compte.ini.cry" >"$out/compte.ini"
"$unscramble" account "$data/Test.ini.cry" >"$out/Test.ini"
"$unscramble" account "$data/Test.cal.cry" >"$out/Test.cal"

month="$(date +%-m)/$(date +%Y)"
day1="1/$month"
head -c "$(crlf "[Test]" "password=pw" | wc -c)" "$out/compte.ini" | cmp -s - <(crlf "[Test]" "password=pw") \
    || fail "compte.ini ne commence pas par le compte créé"
days=$(date -d "$(date +%Y-%m-01) +1 month -1 day" +%d)
expected_weights="$out/attendu.ini"
{
    crlf "[$month]" "v1=72,5"
    for d in $(seq 2 "$days"); do crlf "v$d=0"; done
} >"$expected_weights"
cmp "$out/Test.ini" "$expected_weights" || fail "le fichier des poids n'a pas le contenu attendu"
first_food=$(iconv -f CP1252 -t UTF-8 "$data/calories.ini" | tr -d '\r' | sed -n '/^\[viande\]/,$p' | sed -n '2s/=$//p')
cmp "$out/Test.cal" <(crlf "[$day1]" "$first_food=2" | iconv -f UTF-8 -t CP1252) \
    || fail "le journal des calories n'a pas le contenu attendu"
echo "1 passed, 0 failed"
