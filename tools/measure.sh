#!/usr/bin/env bash
# Prints the figures of the README's Performance section, measured on this machine.
#   tools/measure.sh [build-dir]
set -euo pipefail
build=${1:-build}
game="$build/tintorix"
bench="$build/tintorix-bench"
work=$(mktemp -d /tmp/tintorix-measure-XXXXXX)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work"

echo "== bench: whole matches headless, four computer painters"
for mode in single team ranking; do
    printf '%-8s ' "$mode"
    "$bench" --seed 1 --matches 3 --mode "$mode" | tail -n 1
done

echo "== peak memory (maximum resident set size)"
/usr/bin/time -f "bench, 3 single matches: %M KiB" "$bench" --seed 1 --matches 3 >/dev/null
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy /usr/bin/time -f "game, 20 s from the logo into the title: %M KiB" \
    timeout -s TERM 20 "$game" >/dev/null 2>"$work/time.txt" || true
tail -n 1 "$work/time.txt"

echo "== processor use while running at 25 frames per second (dummy video and audio drivers, 20 s)"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$game" >/dev/null 2>&1 &
pid=$!
sleep 2
ticks=$(getconf CLK_TCK)
read -r u1 s1 < <(awk '{print $14, $15}' "/proc/$pid/stat")
sleep 20
read -r u2 s2 < <(awk '{print $14, $15}' "/proc/$pid/stat")
kill -TERM "$pid"; wait "$pid" || true
echo "$u1 $s1 $u2 $s2 $ticks" | awk '{printf "game: %.1f%% of one core\n", 100 * (($3 + $4) - ($1 + $2)) / $5 / 20}'

if command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v import >/dev/null; then
    echo "== time from start to the first picture on screen (Xvfb; the logo's white screen, polled)"
    display=:$((70 + RANDOM % 20))
    Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
    xvfb=$!
    sleep 1
    start=$(date +%s%N)
    DISPLAY=$display SDL_AUDIODRIVER=dummy "$game" >/dev/null 2>&1 &
    pid=$!
    while :; do
        colour=$(DISPLAY=$display import -window root -crop 1x1+512+200 txt:- 2>/dev/null | tail -n 1 || true)
        case "$colour" in *FFFFFF*) break ;; esac
        [ $(( ($(date +%s%N) - start) / 1000000 )) -gt 20000 ] && { echo "no picture within 20 s"; break; }
        sleep 0.02
    done
    echo "game: $(( ($(date +%s%N) - start) / 1000000 )) ms (the polling adds up to about 100 ms)"
    echo "== processor use under Xvfb (software OpenGL), 20 s of the logo and the title"
    read -r u1 s1 < <(awk '{print $14, $15}' "/proc/$pid/stat")
    sleep 20
    read -r u2 s2 < <(awk '{print $14, $15}' "/proc/$pid/stat")
    echo "$u1 $s1 $u2 $s2 $ticks" | awk '{printf "game: %.1f%% of one core\n", 100 * (($3 + $4) - ($1 + $2)) / $5 / 20}'
    kill -TERM "$pid"; wait "$pid" || true
    kill "$xvfb"
fi
