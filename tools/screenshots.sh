#!/usr/bin/env bash
# Runs the real program under Xvfb, converts 1B 0.7800 at 25 degC with the
# keyboard, and writes PNG pictures of the main window with its result, of a
# warning box and of the About box.
# Usage: screenshots.sh PROGRAM OUTPUT_DIR
set -euo pipefail
program=$(realpath "$1")
out=$2
mkdir -p "$out"
source "$(dirname "$0")/xvfb.sh"
start_xvfb

"$program" &
app_pid=$!
# Waits for a visible window, other than the main one, whose name matches $1
# exactly (xdotool matches without regard to case) and prints its id.
window() {
    for _ in $(seq 100); do
        for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
            if [ "$id" != "${main:-}" ] && [ "$(xdotool getwindowname "$id")" == "$2" ]; then
                sleep 0.5  # let it paint
                echo "$id"
                return
            fi
        done
        sleep 0.1
    done
    echo "no window named $2" >&2
    exit 1
}
keys() { xdotool key --delay 60 "$@"; sleep 0.3; }
shoot() { import -window "$1" "$out/$2"; echo "wrote $out/$2"; }

main=$(window '^Densimo$' Densimo)
xdotool windowfocus --sync "$main"
sleep 0.5
keys Down Tab                           # 1B (燃料油), on to the reading
xdotool type --delay 60 0.7800
keys Tab
xdotool type --delay 60 25
keys Tab space                          # the convert button
shoot "$main" main-window.png

keys shift+Tab ctrl+a                   # temperature 500 is out of range
xdotool type --delay 60 500
keys Tab space
box=$(window "^$(basename "$program")\$" "$(basename "$program")")
shoot "$box" warning-box.png
keys Return

keys shift+F10 a                        # the window's menu, its About item
about=$(window 'Densimo' 'Densimoのﾊﾞｰｼﾞｮﾝ情報')
shoot "$about" about-box.png
keys Return
keys Escape
wait "$app_pid"
