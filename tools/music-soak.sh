#!/usr/bin/env bash
# Soak of the whole game with its music: computer-only matches recorded by the bench, each played by the
# game itself (headless, SDL's dummy drivers, the given soundfont) from start to exit, several at once,
# until the minutes are up. Meant for the sanitizer build: any crash, sanitizer report or non-zero exit
# fails the game and keeps its log.
#   tools/music-soak.sh [build-dir] [minutes] [games at once]
# SOAK_FONT picks the soundfont (FluidR3 by default); SOAK_DIR keeps the logs (a temporary folder).
set -uo pipefail
build=$(cd "${1:-build-asan}" && pwd)
minutes=${2:-30}
parallel=${3:-4}
font=${SOAK_FONT:-/usr/share/sounds/sf2/FluidR3_GM.sf2}
work=${SOAK_DIR:-$(mktemp -d /tmp/tintorix-soak-XXXXXX)}
mkdir -p "$work"
[ -r "$font" ] || { echo "no soundfont $font"; exit 77; }
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy SDL_SOUNDFONTS="$font"
deadline=$((SECONDS + minutes * 60))

# One game: a match of the mode and seed, recorded headless, then played by the game to its end.
game() {
    local seat=$1 seed=$2 dir="$work/$1-$2" mode code
    mode=$( (set -- single team; shift $((seed % 2)); echo "$1") )
    mkdir -p "$dir"
    "$build/tintorix-bench" --seed "$seed" --wins 1 --mode "$mode" --record "$dir/match.rep" >/dev/null 2>&1
    (cd "$build" && XDG_CONFIG_HOME="$dir" XDG_RUNTIME_DIR="$dir" exec ./tintorix --replay "$dir/match.rep") \
        >"$dir/log" 2>&1
    code=$?
    if [ "$code" -ne 0 ] || grep -qE 'Sanitizer|runtime error' "$dir/log"; then
        echo "FAIL seed $seed ($mode): exit $code, log $dir/log"
        return 1
    fi
    rm -rf "$dir"
}

# Each lane plays games one after another with seeds of its own.
lane() {
    local seat=$1 seed=$1 played=0 failed=0
    while [ "$SECONDS" -lt "$deadline" ]; do
        if game "$seat" "$seed"; then played=$((played + 1)); else failed=$((failed + 1)); fi
        seed=$((seed + parallel))
    done
    echo "$played $failed" >"$work/lane-$seat"
}

for seat in $(seq 1 "$parallel"); do lane "$seat" & done
wait
awk '{p += $1; f += $2} END {printf "soak: %d games played to the end, %d failed\n", p + f, f; exit f > 0}' \
    "$work"/lane-*
