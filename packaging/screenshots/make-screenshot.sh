#!/usr/bin/env bash
# Makes main-window.png, the screenshot the AppStream metadata shows: the real
# program under Xvfb with a window manager, fresh settings, one postal-code
# search and one free-address search on the bundled list.
# Needs: Xvfb openbox xdotool imagemagick fonts-noto-cjk x11-xserver-utils.
# Usage: make-screenshot.sh BUILD_DIR/bin/torumin [DISPLAY_NUMBER]
set -euo pipefail
program=$(realpath "$1")
display=":${2:-96}"
out="$(dirname "$(realpath "$0")")/main-window.png"
config=$(mktemp -d)
trap 'kill "${app:-}" "${wm:-}" "${xvfb:-}" 2>/dev/null || true; rm -rf "$config"' EXIT

Xvfb "$display" -screen 0 1024x640x24 >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
xsetroot -solid '#5f7f9f'

# No splash, and no search dialog reopening after a search.
mkdir -p "$config/TORUMIN"
printf '[Config]\nOptLogo=0\nOptRen(0)=0\nOptRen(3)=0\n' >"$config/TORUMIN/TORUMIN.ini"
XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=xcb "$program" >/dev/null 2>&1 &
app=$!

wait_for() {
    for _ in $(seq 100); do
        w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1)
        [ -n "$w" ] && { echo "$w"; return 0; }
        sleep 0.1
    done
    echo "no window named $1" >&2
    return 1
}
# Clicks at a point of a window's client area.
click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.5
}

main=$(wait_for 'とるみん for Windows')
sleep 1
# Postal code to address (Ctrl+Y): three digits, four digits, 検索.
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key ctrl+y
dialog=$(wait_for '郵便番号検索')
sleep 0.5
xdotool type --delay 100 100
click "$dialog" 189 73
xdotool type --delay 100 0005
click "$dialog" 73 127
# Free address to candidates (Ctrl+A), 検索.
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key ctrl+a
input=$(wait_for '住所入力')
sleep 0.5
xdotool type --delay 100 '東京都千代田区丸の内'
click "$input" 168 117
candidates=$(wait_for '〒＋住所候補')
# The address dialog stays open under the candidates: out of the picture.
xdotool windowmove --sync "$input" 2000 2000
xdotool windowmove --sync "$main" 30 30
xdotool windowmove --sync "$candidates" 250 30
sleep 1
import -window root -crop 800x190+15+15 +repage "$out"
echo "wrote $out"
