#!/usr/bin/env bash
# Prints the figures of the README's Performance section, measured on this machine. Under Xvfb each
# figure of the game stands beside the same figure of tintorix-bare, the game's window and present loop
# alone: the floor that SDL and the X server cost whatever the game does.
#   tools/measure.sh [build-dir]
# Needs Xvfb and xdotool for the display figures, perf (as root, with uprobes) for the start time, and
# the fluidsynth program and sox for what reverb and chorus cost. MEASURE_SPAN sets the seconds sampled.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
game="$build/tintorix"
bare="$build/tintorix-bare"
bench="$build/tintorix-bench"
work=$(mktemp -d /tmp/tintorix-measure-XXXXXX)
xvfb=""
running=""
probe=""
cleanup() {
    for pid in $running $xvfb; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    if [ -n "$probe" ]; then perf probe -q -d "$probe" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work"
ticks=$(getconf CLK_TCK)
span=${MEASURE_SPAN:-30}

echo "== bench: whole matches headless, four computer painters"
for mode in single team ranking; do
    printf '%-8s ' "$mode"
    "$bench" --seed 1 --matches 3 --mode "$mode" | tail -n 1
done
/usr/bin/time -f "bench peak memory, 3 single matches: %M KiB" "$bench" --seed 1 --matches 3 >/dev/null

echo "== the synthesiser's effects: the title and round tunes rendered by the fluidsynth program at the game's"
echo "   rate and sample loading; processor as % of one core in real time (median of 3), the effect's share of"
echo "   the sound as the level of (with - without) against the level with it"
if command -v fluidsynth >/dev/null && command -v sox >/dev/null; then
    # Prints "percent file" for one render with reverb $3 and chorus $4 (1 on, 0 off).
    render() {
        local out="$work/fx-$3$4.wav" runs=() i
        for i in 1 2 3; do
            /usr/bin/time -o "$work/time" -f '%U %S' fluidsynth -n -i -q -F "$out" -T wav -r 44100 -g 0.4 \
                -R "$3" -C "$4" -o synth.dynamic-sample-loading=1 "$1" "$2" >/dev/null 2>&1
            runs+=("$(tail -n 1 "$work/time")")
        done
        printf '%s\n' "${runs[@]}" | awk -v d="$(soxi -D "$out")" '{print 100 * ($1 + $2) / d}' | sort -n |
            sed -n 2p
    }
    rms() { sox "$@" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}'; }
    share() { awk -v d="$(rms -m -v 1 "$work/fx-11.wav" -v -1 "$1")" -v a="$(rms "$work/fx-11.wav")" \
        'BEGIN {printf "%.0f dB", 20 * log(d / a) / log(10)}'; }
    for font in /usr/share/sounds/sf2/TimGM6mb.sf2 /usr/share/sounds/sf2/FluidR3_GM.sf2; do
        [ -r "$font" ] || continue
        for piece in "$build"/Music01.mid "$build"/Music02.mid; do
            both=$(render "$font" "$piece" 1 1)
            noReverb=$(render "$font" "$piece" 0 1)
            noChorus=$(render "$font" "$piece" 1 0)
            neither=$(render "$font" "$piece" 0 0)
            awk -v f="$(basename "$font" .sf2)" -v p="$(basename "$piece")" -v b="$both" -v r="$noReverb" \
                -v c="$noChorus" -v n="$neither" -v rs="$(share "$work/fx-01.wav")" -v cs="$(share "$work/fx-10.wav")" \
                'BEGIN {printf "%s %s: both %.2f %%, neither %.2f %%; reverb %+.2f points, %s; chorus %+.2f points, %s\n",
                    f, p, b, n, b - r, rs, b - c, cs}'
        done
    done
else
    echo "(no fluidsynth program or sox: not measured)"
fi

if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null || [ ! -x "$bare" ]; then
    echo "(no Xvfb, xdotool or $bare: nothing measured on a display)"
    exit 0
fi
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")"
# A sound device that plays in time without a sound card, so the music costs what it costs with one.
export SDL_AUDIODRIVER=dummy

# Processor time (user and system, all threads) of a process in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# The same for the process's threads with the given name.
thread_ticks() {
    local total=0 task
    for task in /proc/"$1"/task/*; do
        [ "$(cat "$task/comm" 2>/dev/null)" = "$2" ] && total=$((total + $(awk '{print $14 + $15}' "$task/stat")))
    done
    echo "$total"
}
percent() { awk -v t="$1" -v hz="$ticks" -v s="$span" 'BEGIN {printf "%.1f %%", 100 * t / hz / s}'; }
peak_mb() { awk '/VmHWM/ {printf "%.0f MB", $2 / 1024}' "/proc/$1/status"; }
# Samples the whole process and its audio thread over the span; prints "whole audio" in ticks.
sample() {
    local c1 a1 c2 a2
    c1=$(cpu_ticks "$1")
    a1=$(thread_ticks "$1" SDLAudioP2)
    sleep "$span"
    c2=$(cpu_ticks "$1")
    a2=$(thread_ticks "$1" SDLAudioP2)
    echo "$((c2 - c1)) $((a2 - a1))"
}
stop() {
    kill -TERM "$1"
    wait "$1" || true
    running=""
}
press() {
    local window
    window=$(xdotool search --name '^Tintorix$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && xdotool windowfocus "$window" 2>/dev/null || true
    xdotool key "$1"
}

echo "== start to the first presented frame under Xvfb (median of 5; exec to the first SDL_RenderPresent, perf uprobe)"
sdl=$(ldd "$game" | awk '/libSDL2-2.0/ {print $3}')
event=probe_libSDL2:SDL_RenderPresent
if command -v perf >/dev/null && [ -n "$sdl" ] && { perf probe -l 2>/dev/null | grep -q "$event" ||
    { perf probe -q -x "$sdl" SDL_RenderPresent 2>/dev/null && probe=$event; }; }; then
    first_present() {
        local runs=() i
        for i in 1 2 3 4 5; do
            (cd "$build" && timeout -s TERM 4 perf record -q -o "$work/start.data" -e sched:sched_process_exec \
                -e "$event" -- "$1" >/dev/null 2>&1) || true
            runs+=("$(perf script -i "$work/start.data" 2>/dev/null | awk '/sched_process_exec/ && !s {s = $4 + 0}
                /SDL_RenderPresent/ && !p {p = $4 + 0} END {printf "%.0f", (p - s) * 1000}')")
        done
        printf '%s\n' "${runs[@]}" | sort -n | sed -n 3p
    }
    echo "game $(first_present "$game") ms   bare $(first_present "$bare") ms"
else
    echo "(perf with uprobes is not available here: not measured)"
fi

echo "== processor use at 25 frames per second (% of one core over $span s, all threads; the music's audio"
echo "   thread in brackets) and peak memory (maximum resident set), game beside bare"
"$bare" >/dev/null 2>&1 &
pid=$!
running=$pid
sleep 2
read -r bareTicks _ < <(sample "$pid")
barePeak=$(peak_mb "$pid")
stop "$pid"
# A soundfont that is not there: the game without music.
fonts=()
for font in /usr/share/sounds/sf2/TimGM6mb.sf2 /usr/share/sounds/sf2/FluidR3_GM.sf2; do
    [ -r "$font" ] && fonts+=("$font")
done
fonts+=("$work/none.sf2")
for font in "${fonts[@]}"; do
    name=$(basename "$font" .sf2)
    [ "$name" = none ] && name="no music"
    (cd "$build" && SDL_SOUNDFONTS="$font" exec "$game") >/dev/null 2>&1 &
    pid=$!
    running=$pid
    # The logo lasts 9 s; the title's tune plays from its fade-in on.
    sleep 12
    read -r title titleAudio < <(sample "$pid")
    # Title: BATTLE MODE; the menu's cursor starts on START. The round's tune starts with it; the
    # count-down is over 6 s later.
    press Return
    sleep 2.5
    press Return
    sleep 8
    read -r round roundAudio < <(sample "$pid")
    peak=$(peak_mb "$pid")
    stop "$pid"
    echo "title, $name: game $(percent "$title") ($(percent "$titleAudio"))   bare $(percent "$bareTicks")"
    echo "round, $name: game $(percent "$round") ($(percent "$roundAudio"))   bare $(percent "$bareTicks")"
    echo "peak memory, $name: game $peak   bare $barePeak"
done
