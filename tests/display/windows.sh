#!/usr/bin/env bash
# Every window of the real program on a real X display with a window manager, at an account with
# a year of weights and at a new account: how each is framed, placed and owned, and the chart
# saving flow, typed at the keyboard and clicked with the mouse, checked on disk; a first account
# created at the keyboard only; and what a screen reader sees of every window (AT-SPI): each
# control reached by Tab and named. A screenshot of every window is kept in the output folder.
# Usage: windows.sh KALIMO OUTPUT_FOLDER
set -euo pipefail
kalimo="$(realpath "$1")"
out="$2"
rm -rf "$out"
mkdir -p "$out/annee" "$out/nouveau" "$out/clavier"

# shellcheck source=tests/display/harness.sh
source "$(dirname "$0")/harness.sh"
need Xvfb xdotool import openbox wmctrl xprop xwininfo
start_display "$out"
start_accessibility "$out"

size() { xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}'; }
# The frame's middle must be the screen's, within a pixel or two.
centred() { # WINDOW NAME (a window is placed again whenever the window manager states its frame,
    # however late on a busy machine: up to 20 s, as long as a window is waited for)
    local x y w h l r t b cx cy
    for _ in $(seq 200); do
        read -r x y < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}')
        read -r w h < <(size "$1")
        IFS=', ' read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //')
        cx=$(((x - l) + (w + l + r) / 2))
        cy=$(((y - t) + (h + t + b) / 2))
        [ "$cx" -ge 510 ] && [ "$cx" -le 514 ] && [ "$cy" -ge 382 ] && [ "$cy" -le 386 ] && return 0
        sleep 0.1
    done
    fail "$2 n'est pas au centre de l'écran ($cx, $cy)"
}
# Fixed size, and no maximise offered by the window manager.
fixed() { # WINDOW NAME
    local hints
    hints=$(xprop -id "$1" WM_NORMAL_HINTS)
    local min max
    min=$(echo "$hints" | sed -n 's/.*minimum size: //p')
    max=$(echo "$hints" | sed -n 's/.*maximum size: //p')
    [ -n "$min" ] && [ "$min" = "$max" ] || fail "$2 peut changer de taille"
    xprop -id "$1" _NET_WM_ALLOWED_ACTIONS | grep -q MAXIMIZE && fail "$2 peut être agrandie" || true
}
owned() { # WINDOW OWNER NAME
    local owner
    owner=$(xprop -id "$1" WM_TRANSIENT_FOR | sed -n 's/.*window id # //p')
    [ "$((owner))" = "$(($2))" ] || fail "$3 n'appartient pas à sa fenêtre d'origine"
}
written() { # FILE: waits until the file is there and the save has left no temporary file behind
    for _ in $(seq 100); do
        if [ -f "$1" ] && ! ls "$(dirname "$1")" | grep -q -e 'tmp\.bmp$' -e '\.jpg\.' -e '\.JPG\.'; then
            return 0
        fi
        sleep 0.1
    done
    fail "$(basename "$1") n'a pas été écrit"
}
state() { xprop -id "$1" WM_STATE | sed -n 's/.*window state: //p'; }

start() { # FOLDER
    (cd "$1" && exec "$kalimo") >"$out/kalimo-$(basename "$1").log" 2>&1 &
    kalimo_pid=$!
    answer "$(window "Kalimo")" # first start: the food database is written
}
stop() { # MAIN WINDOW TITLE
    wmctrl -c "$1"
    ended
}

# The secondary windows of a main window: year, about (minimised with its owner), editor, help;
# with a third argument, what a screen reader sees of each window and page.
secondary() { # MAIN PREFIX [walk]
    local main="$1" p="$2" walk="${3:-}" w
    check() { if [ -n "$walk" ]; then reached_and_named "$1"; fi; }
    check "$(xdotool getwindowname "$main")"
    click "$main" 261 41
    w=$(window "Affichage du graphique pour 1 année")
    check "Affichage du graphique pour 1 année"
    owned "$w" "$main" "la fenêtre de l'année"
    shot "$p-annee"
    wmctrl -c "Affichage du graphique pour 1 année"
    gone "Affichage du graphique pour 1 année"

    click "$main" 660 41
    w=$(window "A propos")
    owned "$w" "$main" "la fenêtre « A propos »"
    fixed "$w" "la fenêtre « A propos »"
    centred "$w" "la fenêtre « A propos »"
    shot "$p-a-propos"
    check "A propos"
    # Minimised, it takes the disabled main window with it, and comes back with it.
    xdotool windowminimize "$w"
    sleep 0.8
    [ "$(state "$main")" = "Iconic" ] || fail "la fenêtre principale reste seule, désactivée, à l'écran"
    wmctrl -i -a "$main"
    sleep 0.8
    [ "$(state "$w")" = "Normal" ] || fail "« A propos » ne revient pas avec la fenêtre principale"
    wmctrl -c "A propos"
    gone "A propos"

    click "$main" 257 12 # "Calories"
    shot "$p-calories"
    check "$(xdotool getwindowname "$main")"
    click "$main" 586 452
    w=$(window "Configuration de la Base de Données des calories")
    owned "$w" "$main" "l'éditeur"
    fixed "$w" "l'éditeur"
    centred "$w" "l'éditeur"
    shot "$p-editeur"
    check "Configuration de la Base de Données des calories"
    wmctrl -c "Configuration de la Base de Données des calories"
    gone "Configuration de la Base de Données des calories"

    click "$main" 642 452
    w=$(window "Aide")
    fixed "$w" "l'aide"
    check "Aide"
    xdotool key KP_Multiply End
    shot "$p-aide"
    # Minimised, it has no task-bar entry: its button brings it back.
    xdotool windowminimize "$w"
    sleep 0.8
    click "$main" 642 452
    sleep 0.5
    [ "$(state "$w")" = "Normal" ] || fail "l'aide minimisée ne revient pas"
    wmctrl -c "Aide"
    gone "Aide"
    if [ -n "$walk" ]; then
        window "$(xdotool getwindowname "$main")" >/dev/null
        xdotool key alt+b
        check "$(xdotool getwindowname "$main")"
    fi
    click "$main" 189 12 # back to "Graphique"
}

# An account with a year of weights (68 to 81 kg), written plain as a previous run may leave it.
year=$(date +%Y)
crlf "[Annee]" "password=pw" "details=1" "taille=175" >"$out/annee/compte.ini"
for m in $(seq 12); do
    crlf "[$m/$year]"
    for d in $(seq 31); do
        k=$(((m - 1) * 31 + d))
        crlf "v$d=$((81 - k * 13 / 372)),$((k % 10))"
    done
done >"$out/annee/Annee.ini"

start "$out/annee"
login=$(window "Kalimo - Identification")
centred "$login" "la fenêtre d'identification"
fixed "$login" "la fenêtre d'identification"
xprop -id "$login" _NET_WM_STATE | grep -q SKIP_TASKBAR && fail "la fenêtre d'identification n'a plus de bouton dans la barre des tâches"
shot annee-01-identification
xdotool type --delay 30 "Annee"
xdotool key Tab
xdotool type --delay 30 "pw"
xdotool key Return
main=$(window "Kalimo - Annee")
centred "$main" "la fenêtre principale"
shot annee-02-graphique

# A zoom on the chart: round weights on the axes, values only inside the plot.
xdotool mousemove --window "$main" 300 180 mousedown 1 mousemove --window "$main" 420 260 \
    mousemove --window "$main" 480 300 mouseup 1
shot annee-03-zoom
xdotool mousemove --window "$main" 480 300 mousedown 1 mousemove --window "$main" 400 250 \
    mousemove --window "$main" 300 180 mouseup 1

# Saving, at the keyboard: the name typed with its extension gets no second one.
dialog="Enregistrement de ce graphique..."
click "$main" 199 41
window "$dialog" >/dev/null
xdotool key ctrl+a
xdotool type --delay 30 "courbe.jpg"
xdotool key Return
gone "$dialog"
written "$out/annee/courbe.jpg"
files=$(cd "$out/annee" && ls | grep -v -e '^Annee' -e '^calories.ini$' -e '^compte.ini$' | tr '\n' ' ')
[ "$files" = "courbe.jpg " ] || fail "fichiers écrits : $files"
cp "$out/annee/courbe.jpg" "$out/premier.jpg"
# Saving over it: the question names the file written; "Non" brings the dialog back, Escape leaves.
click "$main" 199 41
window "$dialog" >/dev/null
xdotool key ctrl+a
xdotool type --delay 30 "courbe"
xdotool key Return
question=$(window "Confirmation")
shot annee-04-remplacer
xdotool key n
window "$dialog" >/dev/null
xdotool key Escape
gone "$dialog"
cmp -s "$out/annee/courbe.jpg" "$out/premier.jpg" || fail "courbe.jpg a été remplacé malgré « Non »"

# Saving with the mouse: capitals, then over the same file, answered "Oui".
click "$main" 199 41
d=$(window "$dialog")
xdotool type --delay 30 "COURBE.JPG" # the proposed name is selected: typing replaces it
read -r w h < <(size "$d")
click "$d" $((w - 60)) $((h - 54)) # "Enregistrer"
gone "$dialog"
written "$out/annee/COURBE.JPG"
[ ! -e "$out/annee/COURBE.JPG.jpg" ] || fail "COURBE.JPG.jpg a été écrit"
printf 'ancien' >"$out/annee/courbe.jpg"
click "$main" 199 41
d=$(window "$dialog")
xdotool type --delay 30 "courbe"
click "$d" 40 $((h - 54)) # on the caption "Nom de fichier :", which closes the completion list
click "$d" $((w - 60)) $((h - 54))
question=$(window "Confirmation")
read -r qw qh < <(size "$question")
click "$question" $((qw - 136)) $((qh - 24)) # "Oui"
gone "Confirmation"
for _ in $(seq 100); do [ "$(head -c 2 "$out/annee/courbe.jpg")" = "an" ] || break; sleep 0.1; done
written "$out/annee/courbe.jpg"
[ "$(head -c 2 "$out/annee/courbe.jpg" | od -An -tx1 | tr -d ' ')" = "ffd8" ] || fail "courbe.jpg n'a pas été remplacé"
files=$(cd "$out/annee" && ls | grep -v -e '^Annee' -e '^calories.ini$' -e '^compte.ini$' | tr '\n' ' ')
[ "$files" = "COURBE.JPG courbe.jpg " ] || fail "fichiers écrits : $files"

# The bitmap type chosen in the dialog, then a name typed with ".jpg": the extension decides.
click "$main" 199 41
d=$(window "$dialog")
read -r w h < <(size "$d")
click "$d" $((w / 2)) $((h - 24)) # "Fichiers de type"
xdotool key Down Return
click "$d" $((w / 2)) $((h - 54)) # "Nom de fichier"
xdotool key ctrl+a
xdotool type --delay 30 "named.jpg"
xdotool key Return
gone "$dialog"
written "$out/annee/named.jpg"
[ "$(head -c 2 "$out/annee/named.jpg" | od -An -tx1 | tr -d ' ')" = "ffd8" ] || fail "named.jpg n'est pas un JPEG"
files=$(cd "$out/annee" && ls | grep -v -e '^Annee' -e '^calories.ini$' -e '^compte.ini$' | tr '\n' ' ')
[ "$files" = "COURBE.JPG courbe.jpg named.jpg " ] || fail "fichiers écrits : $files"
# The dialog keeps the type chosen: a bare name is a bitmap.
click "$main" 199 41
window "$dialog" >/dev/null
xdotool key ctrl+a
xdotool type --delay 30 "nu"
xdotool key Return
gone "$dialog"
written "$out/annee/nu.bmp"
[ "$(head -c 2 "$out/annee/nu.bmp")" = "BM" ] || fail "nu.bmp n'est pas une image BMP"

secondary "$main" annee
stop "Kalimo - Annee"

# A new account in an empty folder: an empty month.
start "$out/nouveau"
login=$(window "Kalimo - Identification")
click "$login" 200 48
xdotool type --delay 30 "Nouveau"
click "$login" 200 78
xdotool type --delay 30 "pw"
click "$login" 45 110
answer "$(window "Confirmation")"
main=$(window "Kalimo - Nouveau")
shot nouveau-01-graphique
secondary "$main" nouveau
stop "Kalimo - Nouveau"

# A first account at the keyboard only: the name, Tab, the password, Tab to "OK" and to
# "nouveau compte", Return; every control of the login window reached by Tab and named.
start "$out/clavier"
window "Kalimo - Identification" >/dev/null
reached_and_named "Kalimo - Identification"
xdotool type --delay 30 "Clavier"
xdotool key Tab
xdotool type --delay 30 "pw"
xdotool key Tab Tab Return
answer "$(window "Confirmation")"
main=$(window "Kalimo - Clavier")
[ "$(cat "$out/clavier/compte.ini")" = "$(crlf "[Clavier]" "password=pw" "details=0")" ] ||
    fail "compte.ini après la création au clavier : $(od -c "$out/clavier/compte.ini" | head)"
secondary "$main" clavier walk
stop "Kalimo - Clavier"
echo "1 passed, 0 failed"
