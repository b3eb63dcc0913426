# shellcheck shell=bash
# What every script that drives Kalimo on a real X display shares: a display of its own with a
# window manager, windows waited for by their exact title, message boxes answered, screenshots,
# and everything it started stopped on exit. Sourced, never run; the script sets `out` (the
# folder for screenshots) and may define `at_exit` (run on exit once Kalimo and the display are
# gone) and `fail` (before sourcing, to keep more on failure). Pauses after a window is
# activated or a click sent: `window_pause`, `click_pause` (0.3 s unless set).

declare -F fail >/dev/null || fail() {
    echo "ÉCHEC : $*" >&2
    exit 1
}
need() { # TOOL...: each must be installed
    local tool
    for tool; do
        command -v "$tool" >/dev/null || fail "$tool manque"
    done
}
crlf() { printf '%s\r\n' "$@"; }

kalimo_pid=""
wm=""
xvfb=""
session_bus=""
a11y_launcher=""
harness_runtime=""
harness_exit() {
    local pid
    for pid in "$kalimo_pid" "$a11y_launcher" "$session_bus" "$wm" "$xvfb"; do
        if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
    done
    if [ -n "$harness_runtime" ]; then rm -rf "$harness_runtime"; fi
    if declare -F at_exit >/dev/null; then at_exit; fi
    return 0
}
trap harness_exit EXIT

start_display() { # LOG_FOLDER: Xvfb and openbox, DISPLAY and the Qt environment exported
    # Xvfb takes the first display number whose socket it can bind, and only then writes it:
    # scripts started together never pick the same one, and the number read is one that
    # answers.
    local number_file number=""
    number_file="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" >"$1/xvfb.log" 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do
        [ "$(wc -l <"$number_file")" -ge 1 ] && { number=$(head -n 1 "$number_file"); break; }
        kill -0 "$xvfb" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$number_file"
    [ -n "$number" ] || fail "Xvfb n'a pas démarré (voir $1/xvfb.log)"
    export DISPLAY=":$number"
    openbox >"$1/openbox.log" 2>&1 &
    wm=$!
    sleep 0.5
    export QT_QPA_PLATFORM=xcb
    if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
        harness_runtime="$(mktemp -d)"
        export XDG_RUNTIME_DIR="$harness_runtime"
    fi
    chmod 0700 "$XDG_RUNTIME_DIR"
}

shown() { # NAME: the windows shown now whose title is exactly NAME
    # The window manager's search ignores case: each title found is compared.
    local id
    for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
        [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ] && echo "$id"
    done
    return 0
}
window() { # NAME: waits up to 20 s for a window whose title is exactly NAME, activates it
    # Polled: a search fails outright when a window (a hint) vanishes while it looks.
    local id=""
    for _ in $(seq 200); do
        id=$(shown "$1" | head -n 1)
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || fail "pas de fenêtre « $1 »"
    xdotool windowactivate --sync "$id" >/dev/null 2>&1 || true
    # The window manager says the window is active before the X server has given it the
    # keyboard, and on a busy machine keys typed in between go elsewhere: wait for the focus (a
    # window that never takes it, such as a box already gone, is not waited for beyond that).
    for _ in $(seq 100); do
        [ "$(xdotool getwindowfocus -f 2>/dev/null)" = "$id" ] && break
        on_screen "$id" || break
        sleep 0.1
    done
    sleep "${window_pause:-0.3}"
    echo "$id"
}
on_screen() { # WINDOW: the window with that id is shown
    xdotool search --onlyvisible --name "." 2>/dev/null | grep -qx "$1"
}
gone() { # WINDOW or NAME: waits until that window, or every window of that title, is closed
    for _ in $(seq 50); do
        if [[ "$1" =~ ^[0-9]+$ ]]; then
            on_screen "$1" || return 0
        else
            [ -z "$(shown "$1")" ] && return 0
        fi
        sleep 0.1
    done
    if [[ "$1" =~ ^[0-9]+$ ]]; then
        fail "la fenêtre $(xdotool getwindowname "$1") reste ouverte"
    fi
    fail "la fenêtre « $1 » reste ouverte"
}
answer() { # WINDOW: presses Enter in a message box until it is gone (it may not have the focus yet)
    for _ in $(seq 20); do
        xdotool windowactivate --sync "$1" >/dev/null 2>&1 || return 0
        xdotool key Return
        sleep 0.3
        xdotool getwindowname "$1" >/dev/null 2>&1 || return 0
        on_screen "$1" || return 0
    done
    fail "la boîte de message ne se ferme pas"
}
click() { # WINDOW X Y: a click at a point of the window's client area
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep "${click_pause:-0.3}"
}
shot() { # NAME: the whole screen, kept as NAME.png in the output folder
    sleep 0.3
    import -window root "${out:?}/$1.png"
}
# shellcheck disable=SC2120 # WHAT is for the scripts that check more than one run
ended() { # [WHAT]: waits up to 10 s for Kalimo to end by itself, with exit code 0
    local code=0
    for _ in $(seq 100); do kill -0 "$kalimo_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$kalimo_pid" 2>/dev/null && fail "${1:+$1 : }Kalimo ne s'est pas arrêté"
    wait "$kalimo_pid" || code=$?
    kalimo_pid=""
    [ "$code" -eq 0 ] || fail "${1:+$1 : }Kalimo s'est arrêté avec le code $code"
}

# What a screen reader sees: a session bus of the script's own, the accessibility bus on it, and
# Qt told to publish every window there. Call after start_display, before Kalimo starts.
start_accessibility() { # LOG_FOLDER
    need dbus-daemon gdbus /usr/bin/python3 /usr/libexec/at-spi-bus-launcher
    local address_file
    address_file="$(mktemp)"
    dbus-daemon --session --nofork --print-address=3 3>"$address_file" >"$1/dbus.log" 2>&1 &
    session_bus=$!
    for _ in $(seq 100); do [ -s "$address_file" ] && break; sleep 0.1; done
    DBUS_SESSION_BUS_ADDRESS="$(head -n 1 "$address_file")"
    rm -f "$address_file"
    [ -n "$DBUS_SESSION_BUS_ADDRESS" ] || fail "le bus de session n'a pas démarré"
    export DBUS_SESSION_BUS_ADDRESS
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$1/at-spi.log" 2>&1 &
    a11y_launcher=$!
    for _ in $(seq 100); do
        gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
            --method org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
        sleep 0.1
    done
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}
# Every control of the window that has the focus, titled NAME, is reached by Tab and named.
reached_and_named() { # NAME
    /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/atspiwalk.py" "$1" >>"${out:?}/atspi.log" ||
        fail "accessibilité de « $1 » (voir $out/atspi.log)"
}
