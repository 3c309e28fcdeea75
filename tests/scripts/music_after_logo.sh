# Sourced by the script tests that start the real game with SDL's disk audio driver (44100 Hz, 16-bit
# stereo) writing to a file: waits until music is heard after the logo, whose jingle ends within the
# output's first ten seconds, while the title plays music 1. Prints the loudest sample found there (0 when
# none came before the game ended, forty seconds of output or two minutes passed) and returns 1 when it is
# not music.

# music_after_logo PID FILE
music_after_logo() {
    local pid=$1 file=$2 peak=0
    local size
    for _ in $(seq 1200); do
        size=$(stat -c %s "$file" 2>/dev/null || echo 0)
        # The title comes seconds after the jingle, also on a slow machine: forty seconds without is none.
        [ "$size" -gt $((40 * 176400)) ] && break
        if [ "$size" -gt $((11 * 176400)) ]; then
            peak=$(/usr/bin/python3 -c 'import sys, array
data = open(sys.argv[1], "rb").read()[10 * 176400:]
print(max((abs(s) for s in array.array("h", data[:len(data) // 2 * 2])), default=0))' "$file")
            [ "$peak" -gt 300 ] && break
        fi
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "$peak"
    [ "$peak" -gt 300 ]
}

# The soundfont the game would load, or nothing: SDL_SOUNDFONTS when set, else the first installed one.
soundfont_installed() {
    local candidate candidates=(/usr/share/sounds/sf2/FluidR3_GM.sf2 /usr/share/sounds/sf2/TimGM6mb.sf2
        /usr/share/sounds/sf3/default-GM.sf3)
    [ -n "${SDL_SOUNDFONTS:-}" ] && candidates=("$SDL_SOUNDFONTS")
    for candidate in "${candidates[@]}"; do
        [ -f "$candidate" ] && { echo "$candidate"; return 0; }
    done
    return 1
}
