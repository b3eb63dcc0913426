#!/usr/bin/env bash
# The Debian package as a person gets it: built with CPack from the release build, unpacked in a
# throw-away root, its files and metadata checked, then the menu entry's command started on a
# real X display as another person than the one who built it, who must find the login window
# and the files in their own ~/Kalimo. Last, the dependency check run again by that person
# must find everything installed, a held package included: no apt call, no administrator.
# Usage: tests/package/paquet.sh [BUILD_FOLDER]   (build/release by default; run as root)
set -euo pipefail
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$source_dir/build/release}" && pwd)"
out="$build/tests/package"
id=org.example.kalimo

# shellcheck source=tests/display/harness.sh
source "$source_dir/tests/display/harness.sh"
[ "$(id -u)" -eq 0 ] || fail "il faut être root pour créer la personne d'essai"

rm -rf "$out"
mkdir -p "$out"
# Everything the other person must read lives in a folder open to all: the build folder may be
# in root's home.
work="$(mktemp -d /tmp/kalimo-paquet.XXXXXX)"
chmod 0755 "$work"
person=""
at_exit() {
    [ -n "$person" ] && userdel --remove "$person" 2>/dev/null || true
    rm -rf "$work"
}

# --- The package and its files.
(cd "$build" && cpack -G DEB >"$out/cpack.log" 2>&1) || { cat "$out/cpack.log"; fail "cpack a échoué"; }
deb="$build/kalimo_2.0_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "pas de paquet $deb"
dpkg-deb -f "$deb" Package Version Depends >"$out/control"
grep -qx "Package: kalimo" "$out/control" || fail "nom du paquet"
grep -qx "Version: 2.0" "$out/control" || fail "version du paquet"
for lib in libqt6widgets6 libqt6charts6 libqt6svg6 libjpeg62-turbo qt6-translations-l10n fonts-comic-neue; do
    grep -q "[ ,]$lib\b" "$out/control" || fail "le paquet ne dépend pas de $lib"
done
# Only what the program loads: its display plugins come with libqt6gui6.
! grep -q "qt6-qpa-plugins" "$out/control" || fail "le paquet dépend de qt6-qpa-plugins"
# No maintainer script: installing and removing the package only adds and deletes the files
# below, so nobody's ~/Kalimo is ever touched.
dpkg-deb -e "$deb" "$work/DEBIAN"
[ "$(ls "$work/DEBIAN" | tr '\n' ' ')" = "control md5sums " ] \
    || fail "le paquet contient des scripts : $(ls "$work/DEBIAN" | tr '\n' ' ')"

root="$work/racine"
dpkg -x "$deb" "$root"
files=$(cd "$root" && find . -type f | sort | tr '\n' ' ')
doc=./usr/share/doc/kalimo
expected="./usr/bin/kalimo ./usr/share/applications/$id.desktop $doc/README.md.gz $doc/changelog.gz \
$doc/copyright ./usr/share/icons/hicolor/scalable/apps/$id.svg ./usr/share/man/man1/kalimo.1.gz \
./usr/share/metainfo/$id.metainfo.xml "
[ "$files" = "$expected" ] || fail "fichiers du paquet : $files"
gzip -dc "$root/$doc/README.md.gz" | cmp - "$source_dir/README.md" || fail "README"
gzip -dc "$root/$doc/changelog.gz" | grep -q "^kalimo (2\.0) " || fail "pas de version 2.0 dans changelog.gz"
grep -qx "License: GPL-3+" "$root/$doc/copyright" || fail "licence du fichier copyright"
# The manual page as `man kalimo` shows it once the package is installed, with no complaint.
man_page=$(MANPATH="$root/usr/share/man" LANG=C.UTF-8 MANWIDTH=80 man --warnings kalimo 2>"$out/man.log") \
    || fail "man kalimo : $(cat "$out/man.log")"
[ ! -s "$out/man.log" ] || fail "man kalimo : $(cat "$out/man.log")"
for option in "--dossier DOSSIER" "--help" "--version"; do
    grep -q -- "$option" <<<"$man_page" || fail "la page de manuel ne décrit pas $option"
done
# The installed command answers in a terminal without any display.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/kalimo" --version | grep -qx "Kalimo version 2.0" ||
    fail "kalimo --version sans écran"
# Built with Debian's stack protector (lintian checks the other hardening flags below).
symbols=$(readelf -W --dyn-syms "$root/usr/bin/kalimo")
grep -q " __stack_chk_fail@" <<<"$symbols" || fail "kalimo sans protection de la pile"

# Debian's own judge, run by someone else than root, shows no tag at all, not even an info or a
# pedantic one. An info tag accepted one day goes in this list, with the reason beside it.
allowed_info=()
cp "$deb" "$work/"
runuser -u nobody -- env HOME="$work" lintian --pedantic --display-info --tag-display-limit 0 \
    "$work/$(basename "$deb")" >"$out/lintian.log" 2>&1 || { cat "$out/lintian.log"; fail "lintian a échoué"; }
while read -r level tag; do
    [[ "$level" =~ ^[IPX]$ && " ${allowed_info[*]} " == *" $tag "* ]] \
        || fail "lintian : $(cat "$out/lintian.log")"
done < <(sed -n 's/^\([A-Z]\): kalimo[^:]*: \([^ ]*\).*/\1 \2/p' "$out/lintian.log")

desktop="$root/usr/share/applications/$id.desktop"
metainfo="$root/usr/share/metainfo/$id.metainfo.xml"
report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate : $report"
[ -z "$report" ] || fail "desktop-file-validate : $report"
report=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1) || fail "appstreamcli : $report"
! grep -Eq '^[EWIP]: ' <<<"$report" || fail "appstreamcli : $report"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "launchable"
grep -qx "Icon=$id" "$desktop" || fail "icône du menu"

# --- The menu entry's command, started by another person from a folder of theirs that is not
# the data folder. No shell reads an Exec line: its quotes are taken off, nothing is expanded.
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[[ "$exec_line" != *%* ]] || fail "Exec avec des codes de champ : $exec_line"
entry=()
eval "entry=($exec_line)"
[ "${entry[0]}" = kalimo ] || fail "Exec ne lance pas kalimo : $exec_line"

person="kalimoessai$$"
useradd --system --create-home --home-dir "/home/$person" --shell /usr/sbin/nologin "$person"
home="/home/$person"
elsewhere="$home/ailleurs"
runuser -u "$person" -- mkdir "$elsewhere"
runtime="$work/runtime"
mkdir -m 0700 "$runtime"
chown "$person" "$runtime"

need Xvfb xdotool import openbox wmctrl
start_display "$out"

as_person() { # COMMAND...: run by the other person, with the package's programs first in PATH
    runuser -u "$person" -- env -i HOME="$home" USER="$person" LOGNAME="$person" DISPLAY="$DISPLAY" \
        PATH="$root/usr/bin:/usr/bin:/bin" XDG_RUNTIME_DIR="$runtime" LANG=C.UTF-8 QT_QPA_PLATFORM=xcb \
        sh -c 'cd "$0" && exec "$@"' "$elsewhere" "$@"
}

as_person "${entry[@]}" >"$out/kalimo.log" 2>&1 &
kalimo_pid=$!
box=$(window Kalimo) # the food database written on first start
answer "$box"
login=$(window "Kalimo - Identification")
shot identification
# A dock ties the window to its menu entry by the window's class.
wm_class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
xprop -id "$login" WM_CLASS | grep -q ", \"$wm_class\"$" || fail "classe de la fenêtre : $(xprop -id "$login" WM_CLASS)"
[ -f "$home/Kalimo/calories.ini" ] || fail "calories.ini n'est pas dans $home/Kalimo"
[ "$(stat -c %a "$home/Kalimo")" = 700 ] || fail "$home/Kalimo n'est pas en mode 700"
[ "$(stat -c %U "$home/Kalimo" "$home/Kalimo/calories.ini" | sort -u)" = "$person" ] \
    || fail "les fichiers n'appartiennent pas à $person"
wmctrl -c "Kalimo - Identification"
ended
[ "$(ls -A "$home/Kalimo")" = "calories.ini" ] || fail "fichiers laissés : $(ls -A "$home/Kalimo")"
[ -z "$(ls -A "$elsewhere")" ] || fail "fichiers écrits dans le dossier de travail : $(ls -A "$elsewhere")"

# A data folder that cannot be created is said in a box, and Kalimo ends.
as_person touch "$home/fichier"
# shellcheck disable=SC2088 # the "~" is Kalimo's to expand, as in the menu entry
as_person kalimo --dossier "~/fichier/Kalimo" >"$out/kalimo-refus.log" 2>&1 &
kalimo_pid=$!
box=$(window Kalimo)
shot dossier-impossible
answer "$box"
ended
[ -z "$(ls -A "$elsewhere")" ] || fail "fichiers écrits dans le dossier de travail : $(ls -A "$elsewhere")"

# --- The dependency check on a machine that has everything: no apt, no administrator.
mkdir "$work/faux"
for tool in apt-get apt sudo; do
    printf '#!/bin/sh\necho "%s $*" >>%s/appels\nexit 1\n' "$tool" "$work/faux" >"$work/faux/$tool"
    chmod 0755 "$work/faux/$tool"
done
# cmake held at its version by the administrator (apt-mark hold).
printf '#!/bin/sh\nif [ "$3" = cmake ]; then /usr/bin/dpkg-query "$@" | sed "s/^install /hold /"; else exec /usr/bin/dpkg-query "$@"; fi\n' \
    >"$work/faux/dpkg-query"
chmod 0755 "$work/faux/dpkg-query"
grep -qx "hold ok installed" <(PATH="$work/faux:$PATH" dpkg-query -W -f='${Status}' cmake; echo) || fail "faux dpkg-query"
touch "$work/faux/appels"
chmod 0666 "$work/faux/appels"
cp "$source_dir/scripts/dependances.sh" "$work/dependances.sh"
runuser -u "$person" -- env PATH="$work/faux:/usr/bin:/bin" bash "$work/dependances.sh" >"$out/dependances.log" 2>&1 \
    || { cat "$out/dependances.log"; fail "scripts/dependances.sh a échoué pour une personne sans droits"; }
[ ! -s "$work/faux/appels" ] || fail "scripts/dependances.sh a appelé : $(cat "$work/faux/appels")"

echo "Paquet $(basename "$deb") : 1 passed, 0 failed"
