#!/usr/bin/env bash
# Soak of scene changes with their music: the game under a virtual X server, driven by random key taps
# (menus, rounds started and left, pauses, quits) until the minutes are up; a game that quits is started
# again. Meant for the sanitizer build: a crash, a sanitizer report or a failed exit is kept with its log.
#   tools/scene-soak.sh [build-dir] [minutes] [seed]
# SOAK_FONT picks the soundfont (FluidR3 by default); SOAK_DIR keeps the logs (a temporary folder).
set -uo pipefail
build=$(cd "${1:-build-asan}" && pwd)
minutes=${2:-30}
RANDOM=${3:-27}
font=${SOAK_FONT:-/usr/share/sounds/sf2/FluidR3_GM.sf2}
work=${SOAK_DIR:-$(mktemp -d /tmp/tintorix-scenes-XXXXXX)}
mkdir -p "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
for tool in Xvfb xdotool; do command -v "$tool" >/dev/null || { echo "no $tool"; exit 77; }; done
[ -r "$font" ] || { echo "no soundfont $font"; exit 77; }
# Leaks are left to music-soak.sh: the X11 driver's libraries (D-Bus, modules loaded and gone by exit)
# keep a few blocks that cannot be told from ours here.
export ASAN_OPTIONS=detect_leaks=0:halt_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software SDL_SOUNDFONTS="$font"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"

Xvfb -displayfd 4 -screen 0 640x480x24 -nolisten tcp 4>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
game=""
trap 'kill $game $xvfb 2>/dev/null' EXIT
until [ -s "$work/display" ] && DISPLAY=":$(head -n1 "$work/display")" xdotool getdisplaygeometry >/dev/null 2>&1; do
    kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb did not start"; exit 77; }
    sleep 0.1
done
export DISPLAY=":$(head -n1 "$work/display")"

keys=(Return Return Return Escape Up Down Down Left Right p space a)
deadline=$((SECONDS + minutes * 60))
runs=0 failed=0 taps=0
while [ "$SECONDS" -lt "$deadline" ]; do
    log="$work/game-$runs.log"
    (cd "$build" && exec ./tintorix) >"$log" 2>&1 &
    game=$!
    runs=$((runs + 1))
    # Keys go to the focused window, and without a window manager nobody focuses it.
    for _ in $(seq 300); do
        window=$(xdotool search --name '^Tintorix$' 2>/dev/null | head -n1)
        [ -n "$window" ] && xdotool windowfocus "$window" 2>/dev/null && break
        kill -0 "$game" 2>/dev/null || break
        sleep 0.1
    done
    while kill -0 "$game" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do
        xdotool key "${keys[RANDOM % ${#keys[@]}]}" 2>/dev/null
        taps=$((taps + 1))
        sleep "0.$((RANDOM % 10))$((RANDOM % 10))"
    done
    if kill -0 "$game" 2>/dev/null; then
        kill -TERM "$game"
        # A game that does not end within 30 s of being asked counts as failed.
        for _ in $(seq 300); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
        if kill -0 "$game" 2>/dev/null; then
            echo "no exit 30 s after SIGTERM" >>"$log"
            kill -KILL "$game"
        fi
    fi
    wait "$game"
    code=$?
    if [ "$code" -ne 0 ] || grep -qE 'Sanitizer|runtime error' "$log"; then
        echo "FAIL run $runs: exit $code, log $log"
        failed=$((failed + 1))
    else
        rm -f "$log"
    fi
done
echo "scene soak: $runs runs of the game, $taps taps in $minutes min, $failed failed"
[ "$failed" -eq 0 ]
