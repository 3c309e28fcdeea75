#!/usr/bin/env bash
# Plays the real game under Xvfb and keeps screenshots of its screens in docs/ for the README.
#   tools/screenshots.sh [build-dir]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
out=$(cd "$(dirname "$0")/.." && pwd)/docs
work=$(mktemp -d /tmp/tintorix-shots-XXXXXX)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
Xvfb -displayfd 4 -screen 0 640x480x24 -nolisten tcp 4>"$work/display" >/dev/null 2>&1 &
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work"
export SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software
"$build/tintorix" >/dev/null 2>&1 &
press() { xdotool keydown "$1"; sleep 0.12; xdotool keyup "$1"; sleep 0.15; }
shot() { import -window root "$out/$1.png"; }

sleep 4.5; shot logo
sleep 9; shot title
# OPTIONS, one up from BATTLE MODE, and back to the title.
press Up; press Return; sleep 2.5; shot options
press Escape; sleep 2.5
press Return; sleep 2.5
# The menu opens on START: player 1 to the computer, team battle, one win needed.
press Up; press Up; press Up; press Up; press Return
press Up; press Return
press Up; press Return; press Return
sleep 0.5; shot menu
for _ in 1 2 3 4 5 6; do press Down; done
press Return
sleep 45; shot round
sleep 50
for i in $(seq 1 14); do sleep 1; shot "board-$i"; done
sleep 9; shot winner
echo "screenshots in $out; keep the ones worth showing"
